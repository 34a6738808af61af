#include "backends/terminal/TextLayout.h"

#include "platform/CaseFold.h"
#include "platform/Cp1252.h"

#include <algorithm>

namespace backends::terminal {

Label ParseLabel(std::string_view caption)
{
    Label out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
            if (caption[i] != '&' && out.mnemonic < 0)
                out.mnemonic = static_cast<int>(out.text.size());
        }
        out.text += caption[i];
    }
    return out;
}

char MnemonicOf(std::string_view caption)
{
    const Label l = ParseLabel(caption);
    return l.mnemonic < 0 ? '\0' : platform::FoldCase(l.text[static_cast<std::size_t>(l.mnemonic)]);
}

namespace {

void WrapParagraph(std::string_view para, std::size_t width, std::vector<std::string>& out)
{
    std::string line;
    std::size_t i = 0;
    while (i < para.size()) {
        if (para[i] == ' ') {
            if (!line.empty() && line.size() < width)
                line += ' ';
            ++i;
            continue;
        }
        std::size_t end = para.find(' ', i);
        if (end == std::string_view::npos)
            end = para.size();
        std::string_view word = para.substr(i, end - i);
        i = end;
        while (!word.empty()) {
            if (line.size() + word.size() <= width) {
                line += word;
                break;
            }
            if (!line.empty()) {
                while (!line.empty() && line.back() == ' ')
                    line.pop_back();
                out.push_back(line);
                line.clear();
                continue;
            }
            // A word wider than a whole line: cut it after its last path
            // separator that fits, else where the line ends.
            const std::size_t separator = word.substr(0, width).find_last_of("/\\");
            const std::size_t cut = separator != std::string_view::npos && separator > 0 ? separator + 1 : width;
            out.emplace_back(word.substr(0, cut));
            word.remove_prefix(cut);
        }
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    out.push_back(line);
}

} // namespace

std::vector<std::string> WrapText(std::string_view text, int width)
{
    std::vector<std::string> out;
    if (text.empty() || width <= 0)
        return out;
    std::size_t start = 0;
    while (true) {
        std::size_t brk = text.find_first_of("\r\n", start);
        const std::string_view para = text.substr(start, brk == std::string_view::npos ? brk : brk - start);
        WrapParagraph(OneLine(para), static_cast<std::size_t>(width), out);
        if (brk == std::string_view::npos)
            break;
        if (text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n')
            ++brk;
        start = brk + 1;
        if (start == text.size())
            break;
    }
    return out;
}

bool Cut(std::string_view text, int width)
{
    const auto last = text.find_last_not_of(' ');
    const std::size_t length = last == std::string_view::npos ? 0 : last + 1;
    return width > 0 && length > static_cast<std::size_t>(width);
}

std::vector<int> ColumnCells(const std::vector<int>& widths, int cells)
{
    if (widths.size() <= 1)
        return {cells};
    long total = 0;
    for (const int w : widths)
        total += std::max(w, 1);
    std::vector<int> out;
    int used = 0;
    for (std::size_t k = 0; k + 1 < widths.size(); ++k) {
        const int share = static_cast<int>(static_cast<long>(cells) * std::max(widths[k], 1) / total);
        out.push_back(share);
        used += share;
    }
    out.push_back(std::max(0, cells - used));
    return out;
}

std::vector<std::string> WrapToFit(std::string_view text, int width, int rows)
{
    std::vector<std::string> lines = WrapText(text, width);
    if (rows <= 0 || static_cast<int>(lines.size()) <= rows)
        return lines;
    lines.resize(static_cast<std::size_t>(rows));
    std::string& last = lines.back();
    if (static_cast<int>(last.size()) >= width)
        last.resize(static_cast<std::size_t>(std::max(0, width - 1)));
    last += kEllipsisByte;
    return lines;
}

std::string FitHelp(const std::vector<HelpItem>& items, int width)
{
    std::vector<bool> keep(items.size(), true);
    const auto join = [&] {
        std::string out;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!keep[i])
                continue;
            if (!out.empty())
                out += "  ";
            out += items[i].text;
        }
        return out;
    };
    std::string line = join();
    while (static_cast<int>(line.size()) > width) {
        // Drop the last of the least important entries.
        int worst = -1;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (keep[i] && (worst < 0 || items[i].priority >= items[static_cast<std::size_t>(worst)].priority))
                worst = static_cast<int>(i);
        if (worst < 0)
            break;
        keep[static_cast<std::size_t>(worst)] = false;
        line = join();
    }
    return line;
}

std::string OneLine(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return out;
}

} // namespace backends::terminal
