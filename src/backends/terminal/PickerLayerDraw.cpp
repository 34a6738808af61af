// What the file and folder pickers look like: a box over the dialog with the
// folder's path, its entries, and the name field or the choose button.
#include "backends/terminal/PickerLayer.h"

#include "backends/terminal/Layout.h"
#include "backends/terminal/TextLayout.h"
#include "backends/terminal/Texts.h"
#include "backends/terminal/Theme.h"

#include <algorithm>

namespace backends::terminal {

using namespace theme;

namespace {

constexpr int kBoxWidth = 78;
constexpr int kInstructionLines = 2;

// A path too long for its room keeps its end, the part that tells most.
std::string FitPath(const std::string& path, int width)
{
    const auto w = static_cast<std::size_t>(std::max(0, width));
    if (path.size() <= w)
        return path;
    return w <= 1 ? path.substr(path.size() - w) : kEllipsisByte + path.substr(path.size() - (w - 1));
}

} // namespace

void PickerLayer::Draw(CellScreen& screen)
{
    const int height = std::max(10, screen.Rows() - 3);
    const CellRect box = CentredBox(screen, std::min(kBoxWidth, screen.Cols() - 2), height);
    const CellRect in = DrawBox(screen, box, title_, kDialog);
    const CellStyle face = Style(kBlack, kDialog);
    const int x = in.x + 1;
    const int w = std::max(1, in.w - 2);
    int y = in.y;

    std::vector<std::string> lines = WrapText(instruction_, w);
    if (lines.size() > kInstructionLines)
        lines.resize(kInstructionLines);
    for (const auto& line : lines)
        screen.Text(x, y++, line, face, w);
    const std::string label = platform::Text(mode_ == Mode::File ? text::PickerLookIn : text::PickerFolder) + " ";
    screen.Text(x, y, label, face, w);
    const int labelWidth = static_cast<int>(label.size());
    screen.Text(x + labelWidth, y++, FitPath(folder_, w - labelWidth), face, w - labelWidth);

    const int below = mode_ == Mode::File ? 3 : 2; // rows under the list
    DrawList(screen, {x, y, w, std::max(1, in.Bottom() - below - y)});

    y = in.Bottom() - below + 1;
    if (mode_ == Mode::Folder) {
        const CellStyle s = listFocused_ ? Style(kBlack, kButton) : Style(kHighlightText, kHighlight);
        screen.Text(x, y, "[ " + platform::Text(text::PickerChooseFolder) + " ]", s, w);
        return;
    }
    // The name field, then the file type, in the order Tab takes them.
    const bool nameFocused = !listFocused_ && !typeFocused_;
    const std::string nameLabel = platform::Text(text::PickerFileName) + " ";
    screen.Text(x, y - 1, nameLabel, face, w);
    const CellRect field{x + static_cast<int>(nameLabel.size()), y - 1, std::max(1, w - static_cast<int>(nameLabel.size())), 1};
    screen.Fill(field, Style(kBlack, kField));
    if (nameFocused)
        name_.ScrollToCaret(static_cast<std::size_t>(field.w));
    const std::size_t from = nameFocused ? std::min(name_.scroll, name_.text.size()) : 0;
    screen.Clipped(field.x, field.y, OneLine(std::string_view(name_.text).substr(from)), Style(kBlack, kField), field.w);

    const FileFilter& filter = filters_[filterIndex_];
    const std::string typesLabel = platform::Text(text::PickerFilesOfType) + " ";
    const std::string type = filter.description.empty() ? platform::Text(text::PickerAllFiles) : filter.description;
    const int typesAt = x + static_cast<int>(typesLabel.size());
    screen.Text(x, y, typesLabel, face, w);
    // A choice of types shows its arrows; the focus shows as on a list.
    const std::string shown = filters_.size() > 1 ? OneLine(type) + " \x8b\x9b" : OneLine(type);
    screen.Text(typesAt, y, shown, typeFocused_ ? Style(kHighlightText, kHighlight) : face, x + w - typesAt);
    if (nameFocused)
        screen.ShowCursor(field.x + static_cast<int>(name_.caret - from), field.y);
}

void PickerLayer::DrawList(CellScreen& screen, const CellRect& area)
{
    const CellStyle field = Style(kBlack, kField);
    screen.Fill(area, field);
    pageRows_ = area.h;
    const int count = static_cast<int>(listing_.entries.size());
    if (!listing_.error.empty() || count == 0) {
        const std::string shown = !listing_.error.empty()
                                      ? listing_.error
                                      : platform::Text(mode_ == Mode::File ? text::PickerNoFiles : text::PickerNoFolders);
        const std::vector<std::string> lines = WrapText(shown, area.w - 2);
        const CellStyle s = Style(listing_.error.empty() ? kShadowText : kError, kField);
        for (int i = 0; i < static_cast<int>(lines.size()) && i < area.h; ++i)
            screen.Text(area.x + 1, area.y + i, lines[static_cast<std::size_t>(i)], s, area.w - 2);
        return;
    }
    scroll_ = std::clamp(ScrollToShow(scroll_, selected_, 1, area.h, count), 0, std::max(0, count - area.h));
    const bool bar = count > area.h && area.w > 2;
    const int textWidth = area.w - 1 - (bar ? 1 : 0);
    for (int row = 0; row < area.h && scroll_ + row < count; ++row) {
        const int i = scroll_ + row;
        const FolderEntry& entry = listing_.entries[static_cast<std::size_t>(i)];
        CellStyle s = field;
        if (i == selected_)
            s = listFocused_ ? Style(kHighlightText, kHighlight) : Style(kBlack, kInactiveSelection);
        const int y = area.y + row;
        screen.Fill({area.x, y, textWidth + 1, 1}, s);
        if (i == selected_ && listFocused_)
            screen.Put(area.x, y, U'▸', s);
        screen.Text(area.x + 1, y, OneLine(entry.folder ? entry.name + "/" : entry.name), s, textWidth);
    }
    if (bar)
        ScrollBar(screen, area.Right() - 1, area.y, area.h, scroll_, count, kField);
}

} // namespace backends::terminal
