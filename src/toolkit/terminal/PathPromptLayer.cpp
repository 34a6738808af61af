#include "toolkit/terminal/PathPromptLayer.h"

#include "toolkit/terminal/Theme.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tk {

using namespace theme;
namespace fs = std::filesystem;

namespace {

constexpr int kBoxWidth = 72;

} // namespace

std::string FilterDescription(std::string_view filter)
{
    std::string out;
    std::size_t start = 0;
    for (int part = 0; start <= filter.size(); ++part) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string_view::npos)
            bar = filter.size();
        const std::string_view piece = filter.substr(start, bar - start);
        if (part % 2 == 0 && !piece.empty()) {
            if (!out.empty())
                out += "; ";
            out += piece;
        }
        start = bar + 1;
    }
    return out;
}

std::vector<std::string> Completions(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::error_code dirEc;
        if (it->is_directory(dirEc))
            name += '/';
        out.push_back(std::move(name));
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string CommonPrefix(const std::vector<std::string>& names)
{
    if (names.empty())
        return {};
    std::string prefix = names.front();
    for (const auto& n : names) {
        std::size_t i = 0;
        while (i < prefix.size() && i < n.size() && prefix[i] == n[i])
            ++i;
        prefix.resize(i);
    }
    return prefix;
}

PathPromptLayer::PathPromptLayer(Mode mode, std::string title, std::vector<std::string> notes, std::string initial,
                                 std::string baseFolder)
    : mode_(mode), title_(std::move(title)), notes_(std::move(notes)), baseFolder_(std::move(baseFolder))
{
    edit_.text = std::move(initial);
    edit_.caret = edit_.text.size();
}

std::vector<HelpItem> PathPromptLayer::KeyHelp() const
{
    return {{"Type a path", 3}, {"Tab complete", 2}, {"Enter confirm", 1}, {"Esc cancel", 1}};
}

void PathPromptLayer::Draw(CellScreen& screen)
{
    const int width = std::min(kBoxWidth, screen.Cols());
    const int height = static_cast<int>(notes_.size()) + 7;
    const CellRect box = CentredBox(screen, width, height);
    const CellRect in = DrawBox(screen, box, title_, kDialog);
    const CellStyle face = Style(kBlack, kDialog);
    int y = in.y + 1;
    for (const auto& note : notes_)
        screen.Text(in.x + 1, y++, note, face, in.w - 2);
    ++y;
    const CellRect field{in.x + 1, y, std::max(1, in.w - 2), 1};
    screen.Fill(field, Style(kBlack, kField));
    edit_.ScrollToCaret(static_cast<std::size_t>(field.w));
    screen.Text(field.x, field.y, std::string_view(edit_.text).substr(edit_.scroll), Style(kBlack, kField), field.w);
    screen.ShowCursor(field.x + static_cast<int>(edit_.caret - edit_.scroll), field.y);
    if (!problem_.empty())
        screen.Text(in.x + 1, y + 1, problem_, Style(kError, kDialog), in.w - 2);
    else if (!choices_.empty())
        screen.Text(in.x + 1, y + 1, choices_, face, in.w - 2);
}

void PathPromptLayer::HandleKey(const Key& key)
{
    switch (key.code) {
    case KeyCode::Escape:
        done_ = true;
        result_.reset();
        return;
    case KeyCode::Char:
        if (key.ctrl && key.ch == U'q') {
            done_ = true;
            result_.reset();
            return;
        }
        break;
    case KeyCode::Enter:
        Confirm();
        return;
    case KeyCode::Tab:
        Complete();
        return;
    default:
        break;
    }
    if (edit_.HandleKey(key)) {
        problem_.clear();
        choices_.clear();
    }
}

void PathPromptLayer::Confirm()
{
    if (edit_.text.empty())
        return;
    fs::path path(edit_.text);
    if (path.is_relative() && !baseFolder_.empty())
        path = fs::path(baseFolder_) / path;
    path = path.lexically_normal();
    std::error_code ec;
    if (mode_ == Mode::Folder) {
        if (!fs::is_directory(path, ec)) {
            problem_ = "No such folder: " + path.string();
            return;
        }
        std::string text = path.string();
        while (text.size() > 1 && text.back() == '/')
            text.pop_back();
        result_ = text;
    } else {
        if (!fs::is_regular_file(path, ec)) {
            problem_ = (fs::is_directory(path, ec) ? "This is a folder: " : "No such file: ") + path.string();
            return;
        }
        result_ = path.string();
    }
    done_ = true;
}

void PathPromptLayer::Complete()
{
    const std::string& text = edit_.text;
    const auto slash = text.rfind('/');
    const std::string dirPart = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
    const std::string namePart = slash == std::string::npos ? text : text.substr(slash + 1);
    std::string folder = dirPart;
    if (fs::path(dirPart).is_relative() && !baseFolder_.empty())
        folder = (fs::path(baseFolder_) / dirPart).string();
    std::vector<std::string> names = Completions(folder, namePart);
    if (mode_ == Mode::Folder)
        names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return n.back() != '/'; }),
                    names.end());
    choices_.clear();
    if (names.empty()) {
        problem_ = "Nothing matches";
        return;
    }
    problem_.clear();
    edit_.text = dirPart + CommonPrefix(names);
    edit_.caret = edit_.text.size();
    if (names.size() > 1)
        for (const auto& n : names) {
            if (!choices_.empty())
                choices_ += "  ";
            choices_ += n;
        }
}

} // namespace tk
