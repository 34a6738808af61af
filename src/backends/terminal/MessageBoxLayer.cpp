#include "backends/terminal/MessageBoxLayer.h"

#include "backends/terminal/TextLayout.h"
#include "backends/terminal/Texts.h"
#include "backends/terminal/Theme.h"
#include "platform/CaseFold.h"
#include "platform/Cp1252.h"

#include <algorithm>

namespace tk {

using namespace theme;

namespace {

constexpr int kMaxTextWidth = 64;

std::string ButtonText(Answer id)
{
    switch (id) {
    case Answer::Yes: return tk::Text(text::ButtonYes);
    case Answer::No: return tk::Text(text::ButtonNo);
    default: return tk::Text(text::ButtonOk);
    }
}

// The letter that presses a button: its mnemonic, or else the first letter of
// its text ("OK"), folded to lower case.
char ButtonLetter(Answer id)
{
    const std::string text = ButtonText(id);
    if (const char mnemonic = MnemonicOf(text))
        return mnemonic;
    return text.empty() ? '\0' : FoldCase(text.front());
}

int ButtonWidth(Answer id)
{
    return static_cast<int>(ParseLabel(ButtonText(id)).text.size()) + 4;
}

} // namespace

MessageBoxLayer::MessageBoxLayer(std::string text, std::string caption, BoxStyle style)
    : text_(std::move(text)), caption_(std::move(caption)), style_(style)
{
    if (style_.buttons == BoxButtons::YesNo) {
        buttons_ = {Answer::Yes, Answer::No};
        if (style_.safeNo)
            focus_ = 1;
    } else
        buttons_ = {Answer::Ok};
}

Answer MessageBoxLayer::CancelAnswer() const
{
    return buttons_.back() == Answer::No ? Answer::No : Answer::Ok;
}

std::vector<HelpItem> MessageBoxLayer::KeyHelp() const
{
    if (buttons_.size() > 1)
        return {{tk::Text(text::KeyArrowsTabMove), 2}, {tk::Text(text::KeyEnterPress), 1},
                {tk::Text(text::KeyYYes), 1}, {tk::Text(text::KeyNNo), 1}, {tk::Text(text::KeyEscNo), 3}};
    return {{tk::Text(text::KeyEnterOk), 1}, {tk::Text(text::KeyEscOk), 2}};
}

void MessageBoxLayer::Draw(CellScreen& screen)
{
    const bool question = style_.icon == BoxIcon::Question;
    const bool error = style_.icon == BoxIcon::Error;
    const int icon = question || error ? 4 : 0;
    const int maxText = std::max(10, std::min(kMaxTextWidth, screen.Cols() - 6 - icon));
    const int maxLines = std::max(1, screen.Rows() - 1 - 6);
    const std::vector<std::string> lines = WrapToFit(text_, maxText, maxLines);
    int textWidth = 0;
    for (const auto& l : lines)
        textWidth = std::max(textWidth, static_cast<int>(l.size()));
    int buttonsWidth = 0;
    for (Answer id : buttons_)
        buttonsWidth += ButtonWidth(id) + 2;
    const int inner = std::max({textWidth + icon, buttonsWidth, static_cast<int>(caption_.size()) + 2, 20});
    const CellRect box = CentredBox(screen, inner + 4, static_cast<int>(lines.size()) + 6);
    const CellRect in = DrawBox(screen, box, caption_, kDialog);
    const CellStyle face = Style(kBlack, kDialog);
    if (icon) {
        CellStyle s = Style(kWhite, error ? kError : kQuestion);
        s.bold = true;
        screen.Text(in.x + 1, in.y + 1, error ? " X " : " ? ", s);
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        screen.Text(in.x + 1 + icon, in.y + 1 + static_cast<int>(i), lines[i], face, in.w - 2 - icon);
    const int row = in.Bottom() - 2;
    int x = in.x + (in.w - buttonsWidth + 2) / 2;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const int w = ButtonWidth(buttons_[i]);
        CellStyle s = static_cast<int>(i) == focus_ ? Style(kHighlightText, kHighlight) : Style(kBlack, kButton);
        screen.Fill({x, row, w, 1}, s);
        screen.Put(x, row, U'[', s);
        screen.Put(x + w - 1, row, U']', s);
        screen.Label(x + 2, row, ButtonText(buttons_[i]), s);
        x += w + 2;
    }
}

void MessageBoxLayer::HandleKey(const Key& key)
{
    const int n = static_cast<int>(buttons_.size());
    switch (key.code) {
    case KeyCode::Left:
    case KeyCode::Up:
        focus_ = (focus_ + n - 1) % n;
        return;
    case KeyCode::Right:
    case KeyCode::Down:
        focus_ = (focus_ + 1) % n;
        return;
    case KeyCode::Tab:
        focus_ = (focus_ + (key.shift ? n - 1 : 1)) % n;
        return;
    case KeyCode::Enter:
        result_ = buttons_[static_cast<std::size_t>(focus_)];
        return;
    case KeyCode::Escape:
        result_ = CancelAnswer();
        return;
    case KeyCode::Function:
        if (key.function == 4 && key.alt)
            result_ = CancelAnswer();
        return;
    case KeyCode::Char:
        if (key.ctrl && key.ch == U'q') {
            result_ = CancelAnswer();
        } else if (key.ch == U' ' && !key.ctrl) {
            result_ = buttons_[static_cast<std::size_t>(focus_)];
        } else if (const auto letter = EncodeCp1252(key.ch); letter && !key.ctrl) {
            // The buttons' letters follow their texts in the loaded language.
            for (const Answer button : buttons_)
                if (ButtonLetter(button) == FoldCase(*letter))
                    result_ = button;
        }
        return;
    default:
        return;
    }
}

} // namespace tk
