#include "backends/terminal/FolderListing.h"

#include "backends/terminal/Texts.h"
#include "platform/CaseFold.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace backends::terminal {

namespace fs = std::filesystem;

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> out;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        out.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return out;
        start = end + 1;
    }
}

bool ByName(const FolderEntry& a, const FolderEntry& b)
{
    if (a.folder != b.folder)
        return a.folder;
    if (platform::LessNoCase(a.name, b.name))
        return true;
    if (platform::LessNoCase(b.name, a.name))
        return false;
    return a.name < b.name; // names that differ in letter case only
}

bool MatchesAny(std::string_view name, const std::vector<std::string>& patterns)
{
    return patterns.empty() ||
           std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) { return MatchesPattern(name, p); });
}

} // namespace

std::vector<FileFilter> ParseFilters(std::string_view filter)
{
    const std::vector<std::string_view> parts = Split(filter, '|');
    std::vector<FileFilter> out;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        FileFilter entry;
        entry.description = std::string(parts[i]);
        if (i + 1 < parts.size())
            for (std::string_view p : Split(parts[i + 1], ';'))
                if (!p.empty())
                    entry.patterns.emplace_back(p);
        out.push_back(std::move(entry));
    }
    return out;
}

bool MatchesPattern(std::string_view name, std::string_view pattern)
{
    if (pattern == "*.*")
        pattern = "*";
    // Greedy, going back to the last '*' on a mismatch: linear in practice.
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || platform::FoldCase(pattern[p]) == platform::FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

FolderListing ListFolder(const std::string& folder, const std::vector<std::string>& patterns, bool foldersOnly)
{
    FolderListing out;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        std::error_code typeEc;
        const bool isFolder = it->is_directory(typeEc);
        if (!isFolder && (foldersOnly || !MatchesAny(name, patterns)))
            continue;
        out.entries.push_back({std::move(name), isFolder});
    }
    if (ec)
        out.error = platform::Text(text::PickerCannotRead, {folder, ec.message()});
    std::sort(out.entries.begin(), out.entries.end(), ByName);
    return out;
}

std::string JoinPath(const std::string& folder, std::string_view name)
{
    std::string out = folder;
    if (out.empty() || out.back() != '/')
        out += '/';
    out += name;
    return out;
}

std::string ParentFolder(const std::string& folder)
{
    return ResolvePath(folder, "..");
}

std::string_view BaseName(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string ResolvePath(const std::string& base, std::string_view typed)
{
    std::vector<std::string_view> parts;
    const auto take = [&parts](std::string_view path) {
        for (std::string_view p : Split(path, '/')) {
            if (p.empty() || p == ".")
                continue;
            if (p == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else {
                parts.push_back(p);
            }
        }
    };
    if (typed.empty() || typed[0] != '/')
        take(base);
    take(typed);
    std::string out;
    for (std::string_view p : parts) {
        out += '/';
        out += p;
    }
    return out.empty() ? "/" : out;
}

std::string StartFolder(const std::string& requested, const std::string& current)
{
    if (requested.empty())
        return current;
    const std::string path = ResolvePath(current, requested);
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return path;
    if (fs::exists(path, ec))
        return ParentFolder(path);
    return current;
}

} // namespace backends::terminal
