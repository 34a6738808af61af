#pragma once
// The file-open dialog and the folder browser of the text front end: the
// entries of one folder in a list, sub-folders first. Enter opens a folder;
// Backspace goes up. The file dialog lists the files its filter matches and
// has a name field, where a path may be typed (relative to the folder shown);
// Enter on a file or on the field chooses. A filter of several entries adds
// the file type after the name field, where the arrows change it. The folder browser lists folders
// only and chooses the folder it shows. Escape cancels either.
#include "backends/terminal/FolderListing.h"
#include "backends/terminal/Layer.h"
#include "backends/terminal/LineEdit.h"

#include <optional>
#include <string>
#include <vector>

namespace backends::terminal {

class PickerLayer final : public Layer {
public:
    enum class Mode { File, Folder };

    // `filter` in the toolkit's notation ("Text (*.txt)|*.txt"), for files;
    // `instruction` is shown above the list; `folder` is where it starts, an
    // absolute path.
    PickerLayer(Mode mode, std::string title, std::string instruction, std::string_view filter, std::string folder);

    void Draw(CellScreen& screen) override;
    void HandleKey(const Key& key) override;
    bool Done() const override { return done_; }
    std::vector<HelpItem> KeyHelp() const override;
    void Abandon() override { Finish(std::nullopt); }

    // The chosen path; none when cancelled.
    const std::optional<std::string>& Result() const { return result_; }

    const std::string& Folder() const { return folder_; }
    const std::vector<FolderEntry>& Entries() const { return listing_.entries; }
    int Selected() const { return selected_; }
    const std::string& NameText() const { return name_.text; }
    bool ListFocused() const { return listFocused_; }
    const FileFilter& Filter() const { return filters_[filterIndex_]; }

private:
    void Open(const std::string& folder, std::string_view select = {});
    void Select(int index);
    void HandleListKey(const Key& key);
    void HandleBelowKey(const Key& key);
    void HandleTypeKey(const Key& key);
    void ConfirmName();
    void Finish(std::optional<std::string> result);

    void DrawList(CellScreen& screen, const CellRect& area);

    Mode mode_;
    std::string title_;
    std::string instruction_;
    std::vector<FileFilter> filters_;
    std::size_t filterIndex_ = 0;
    std::string folder_;
    FolderListing listing_;
    int selected_ = 0;
    int scroll_ = 0;
    int pageRows_ = 10; // list rows at the last drawing
    // Below the list: the name field (files) or the choose button (folders).
    bool listFocused_ = true;
    bool typeFocused_ = false; // the file type, below the name field
    LineEdit name_;
    bool done_ = false;
    std::optional<std::string> result_;
};

} // namespace backends::terminal
