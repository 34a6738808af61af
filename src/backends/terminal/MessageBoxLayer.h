#pragma once
// A message box: the text wrapped in a centred box, OK or Yes and No.
#include "toolkit/DialogWindow.h"
#include "backends/terminal/Layer.h"

#include <optional>
#include <string>
#include <vector>

namespace tk {

class MessageBoxLayer final : public Layer {
public:
    MessageBoxLayer(std::string text, std::string caption, BoxStyle style);

    void Draw(CellScreen& screen) override;
    void HandleKey(const Key& key) override;
    bool Done() const override { return result_.has_value(); }
    std::vector<HelpItem> KeyHelp() const override;
    void Abandon() override { result_ = CancelAnswer(); }

    Answer Result() const { return result_.value_or(CancelAnswer()); }

private:
    Answer CancelAnswer() const;

    std::string text_;
    std::string caption_;
    BoxStyle style_;
    std::vector<Answer> buttons_;
    int focus_ = 0;
    std::optional<Answer> result_;
};

} // namespace tk
