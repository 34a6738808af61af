#pragma once
// The file-open and folder dialogs of the text front end: a box in which the
// user types a path, with Tab completing names from the disk.
#include "toolkit/terminal/Layer.h"
#include "toolkit/terminal/LineEdit.h"

#include <optional>
#include <string>
#include <vector>

namespace tk {

class PathPromptLayer final : public Layer {
public:
    enum class Mode { File, Folder };

    // `notes` are shown above the field (the filter, the folder to start in).
    PathPromptLayer(Mode mode, std::string title, std::vector<std::string> notes, std::string initial,
                    std::string baseFolder);

    void Draw(CellScreen& screen) override;
    void HandleKey(const Key& key) override;
    bool Done() const override { return done_; }
    std::vector<HelpItem> KeyHelp() const override;
    void Abandon() override { done_ = true; result_.reset(); }

    const std::optional<std::string>& Result() const { return result_; }

private:
    void Confirm();
    void Complete();

    Mode mode_;
    std::string title_;
    std::vector<std::string> notes_;
    std::string baseFolder_;
    LineEdit edit_;
    std::string problem_; // why Enter did not confirm, or that nothing matches
    std::string choices_; // the names a Tab could not decide between
    bool done_ = false;
    std::optional<std::string> result_;
};

// The descriptions of a "Text (*.x)|*.x|..." filter, joined for display.
std::string FilterDescription(std::string_view filter);

// The names in `folder` that begin with `prefix` (byte for byte), sorted;
// folders end in "/".
std::vector<std::string> Completions(const std::string& folder, const std::string& prefix);
std::string CommonPrefix(const std::vector<std::string>& names);

} // namespace tk
