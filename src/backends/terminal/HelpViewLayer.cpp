#include "backends/terminal/HelpViewLayer.h"

#include "backends/terminal/Texts.h"
#include "backends/terminal/Theme.h"
#include "platform/CaseFold.h"

#include <algorithm>
#include <cctype>

namespace backends::terminal {

using namespace theme;

namespace {

constexpr int kLargestWidth = 100;

// Where the wrapped part of a line continues: under the text of a list item
// ("- " or "1. "), else at the line's own indent.
std::size_t HangingIndent(std::string_view line)
{
    const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
    const std::string_view body = line.substr(indent);
    if (body.starts_with("- "))
        return indent + 2;
    std::size_t digits = 0;
    while (digits < body.size() && std::isdigit(static_cast<unsigned char>(body[digits])))
        ++digits;
    if (digits > 0 && body.substr(digits).starts_with(". "))
        return indent + digits + 2;
    return indent;
}

} // namespace

std::string HelpTextPath(const std::string& chmPath)
{
    const std::string_view extension = ".chm";
    if (platform::HasExtensionNoCase(chmPath, extension))
        return chmPath.substr(0, chmPath.size() - extension.size()) + ".txt";
    return chmPath + ".txt";
}

HelpViewLayer::HelpViewLayer(std::string title, std::string_view text) : title_(std::move(title))
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines_.emplace_back(OneLine(line));
        start = end + 1;
    }
}

std::vector<HelpItem> HelpViewLayer::KeyHelp() const
{
    return {{platform::Text(text::KeyArrowsScroll), 1}, {platform::Text(text::KeyEscClose), 1}};
}

void HelpViewLayer::Wrap(int width)
{
    if (width == wrappedWidth_)
        return;
    wrappedWidth_ = width;
    wrapped_.clear();
    for (const std::string& line : lines_) {
        const std::size_t hanging = HangingIndent(line);
        const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
        const int room = std::max(10, width - static_cast<int>(hanging));
        const std::vector<std::string> parts = WrapText(std::string_view(line).substr(indent), room);
        if (parts.empty())
            wrapped_.emplace_back();
        for (std::size_t i = 0; i < parts.size(); ++i)
            wrapped_.push_back(std::string(i == 0 ? indent : hanging, ' ') + parts[i]);
    }
}

void HelpViewLayer::Draw(CellScreen& screen)
{
    const CellRect box = CentredBox(screen, std::min(kLargestWidth, screen.Cols() - 2), std::max(6, screen.Rows() - 3));
    const CellRect in = DrawBox(screen, box, title_, kDialog);
    const CellRect area{in.x + 1, in.y, std::max(1, in.w - 2), std::max(1, in.h)};
    Wrap(area.w - 1);
    pageRows_ = area.h;
    const int total = static_cast<int>(wrapped_.size());
    top_ = std::clamp(top_, 0, std::max(0, total - area.h));
    const CellStyle face = Style(kBlack, kDialog);
    for (int row = 0; row < area.h && top_ + row < total; ++row)
        screen.Text(area.x, area.y + row, wrapped_[static_cast<std::size_t>(top_ + row)], face, area.w - 1);
    ScrollBar(screen, area.Right() - 1, area.y, area.h, top_, total, kDialog);
}

void HelpViewLayer::HandleKey(const Key& key)
{
    // A reader also leaves with Enter or a plain q, as in a pager.
    const bool plainQ = key.code == KeyCode::Char && !key.ctrl && !key.alt && key.ch == U'q';
    if (IsLeaveKey(key) || key.code == KeyCode::Enter || plainQ) {
        done_ = true;
        return;
    }
    // The space bar pages on, as in a pager; the rest moves as in a list
    // whose rows are the first lines a page can show.
    Key step = key;
    if (IsSpace(key))
        step.code = KeyCode::PageDown;
    const int last = std::max(0, static_cast<int>(wrapped_.size()) - pageRows_);
    if (const std::optional<int> to = Navigate(step, top_, last + 1, pageRows_))
        top_ = *to;
}

} // namespace backends::terminal
