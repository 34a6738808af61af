#include "backends/terminal/MessageBoxLayer.h"

#include "backends/terminal/TextLayout.h"
#include "backends/terminal/Texts.h"
#include "backends/terminal/Theme.h"
#include "platform/CaseFold.h"
#include "platform/Cp1252.h"

#include <algorithm>

namespace backends::terminal {

using namespace theme;

namespace {

constexpr int kMaxTextWidth = 64;

std::string ButtonText(toolkit::Answer id)
{
    switch (id) {
    case toolkit::Answer::Yes: return platform::Text(text::ButtonYes);
    case toolkit::Answer::No: return platform::Text(text::ButtonNo);
    default: return platform::Text(text::ButtonOk);
    }
}

// The letter that presses a button: its mnemonic, or else the first letter of
// its text ("OK"), folded to lower case.
char ButtonLetter(toolkit::Answer id)
{
    const std::string text = ButtonText(id);
    if (const char mnemonic = MnemonicOf(text))
        return mnemonic;
    return text.empty() ? '\0' : platform::FoldCase(text.front());
}

int ButtonWidth(toolkit::Answer id)
{
    return static_cast<int>(ParseLabel(ButtonText(id)).text.size()) + 4;
}

} // namespace

MessageBoxLayer::MessageBoxLayer(std::string text, std::string caption, toolkit::BoxStyle style)
    : text_(std::move(text)), caption_(std::move(caption)), style_(style)
{
    if (style_.buttons == toolkit::BoxButtons::YesNo) {
        buttons_ = {toolkit::Answer::Yes, toolkit::Answer::No};
        if (style_.safeNo)
            focus_ = 1;
    } else
        buttons_ = {toolkit::Answer::Ok};
}

toolkit::Answer MessageBoxLayer::CancelAnswer() const
{
    return buttons_.back() == toolkit::Answer::No ? toolkit::Answer::No : toolkit::Answer::Ok;
}

std::vector<HelpItem> MessageBoxLayer::KeyHelp() const
{
    if (buttons_.size() > 1)
        return {{platform::Text(text::KeyArrowsTabMove), 2}, {platform::Text(text::KeyEnterPress), 1},
                {platform::Text(text::KeyYYes), 1}, {platform::Text(text::KeyNNo), 1}, {platform::Text(text::KeyEscNo), 3}};
    return {{platform::Text(text::KeyEnterOk), 1}, {platform::Text(text::KeyEscOk), 2}};
}

void MessageBoxLayer::Draw(CellScreen& screen)
{
    const bool question = style_.icon == toolkit::BoxIcon::Question;
    const bool error = style_.icon == toolkit::BoxIcon::Error;
    const int icon = question || error ? 4 : 0;
    const int maxText = std::max(10, std::min(kMaxTextWidth, screen.Cols() - 6 - icon));
    const int maxLines = std::max(1, screen.Rows() - 1 - 6);
    const std::vector<std::string> lines = WrapToFit(text_, maxText, maxLines);
    int textWidth = 0;
    for (const auto& l : lines)
        textWidth = std::max(textWidth, static_cast<int>(l.size()));
    int buttonsWidth = 0;
    for (toolkit::Answer id : buttons_)
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
        } else if (const auto letter = platform::EncodeCp1252(key.ch); letter && !key.ctrl) {
            // The buttons' letters follow their texts in the loaded language.
            for (const toolkit::Answer button : buttons_)
                if (ButtonLetter(button) == platform::FoldCase(*letter))
                    result_ = button;
        }
        return;
    default:
        return;
    }
}

} // namespace backends::terminal
