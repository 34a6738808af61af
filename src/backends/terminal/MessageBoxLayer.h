#pragma once
// A message box: the text wrapped in a centred box, OK or Yes and No.
#include "toolkit/DialogWindow.h"
#include "backends/terminal/Layer.h"

#include <optional>
#include <string>
#include <vector>

namespace backends::terminal {

class MessageBoxLayer final : public Layer {
public:
    MessageBoxLayer(std::string text, std::string caption, toolkit::BoxStyle style);

    void Draw(CellScreen& screen) override;
    void HandleKey(const Key& key) override;
    bool Done() const override { return result_.has_value(); }
    std::vector<HelpItem> KeyHelp() const override;
    void Abandon() override { result_ = CancelAnswer(); }

    toolkit::Answer Result() const { return result_.value_or(CancelAnswer()); }

private:
    toolkit::Answer CancelAnswer() const;

    std::string text_;
    std::string caption_;
    toolkit::BoxStyle style_;
    std::vector<toolkit::Answer> buttons_;
    int focus_ = 0;
    std::optional<toolkit::Answer> result_;
};

} // namespace backends::terminal
