#include "util/PowerClass.h"

#include "platform/AtomicFile.h"
#include "platform/Exceptions.h"
#include "platform/Services.h"
#include "util/Path.h"
#include "util/TextFile.h"
#include "util/Texts.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace util {

namespace {

// The settings the program knows. The line after a key line of any of them is
// that key's value line and never itself a key line, so a value that happens
// to equal a key's name (say "Language" as the home page) starts no setting.
constexpr std::array<std::string_view, 7> kKnownKeys = {
    "Product ID", "Language", "Dialects[1031]", "Dialects[1034]", "Dialects[1043]", "Dialects[1036]", "Homepage",
};

// The positions of the key lines of `key`, in file order. The key asked for
// consumes its value line as well, even if the program does not know it; any
// other line is an ordinary line.
std::vector<std::size_t> FindKeyLines(const std::vector<std::string>& lines, const std::string& key)
{
    std::vector<std::size_t> keyLines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool asked = lines[i] == key;
        if (!asked && std::find(kKnownKeys.begin(), kKnownKeys.end(), lines[i]) == kKnownKeys.end())
            continue;
        if (asked)
            keyLines.push_back(i);
        ++i;
    }
    return keyLines;
}

std::string JoinWithCrLf(const std::vector<std::string>& lines)
{
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    return content;
}

} // namespace

std::string PowerClass::GetApplicationFolder() const
{
    // A program in the root folder gets the root with its separator, so that
    // paths joined to it stay absolute.
    return FolderOf(platform::CurrentServices().executablePath);
}

std::string PowerClass::SettingsPath() const
{
    return JoinPath(GetApplicationFolder(), "config.ini");
}

std::string PowerClass::ReadSetting(const std::string& key) const
{
    const std::vector<std::string> lines = ReadTextLines(SettingsPath());
    const std::vector<std::size_t> keyLines = FindKeyLines(lines, key);
    // When a key occurs more than once the last occurrence wins.
    if (keyLines.empty() || keyLines.back() + 1 == lines.size())
        return std::string();
    return lines[keyLines.back() + 1];
}

void PowerClass::WriteSetting(const std::string& key, const std::string& value) const
{
    const std::string path = SettingsPath();
    std::vector<std::string> lines = ReadTextLines(path);
    // Every occurrence of the key gets the value. The file is only replaced
    // once all of them could be changed, so a setting without its value line
    // leaves the file as it was.
    for (const std::size_t keyLine : FindKeyLines(lines, key)) {
        if (keyLine + 1 == lines.size())
            throw platform::CFileException(path, platform::Text(text::SettingWithoutValueLine, {key}));
        lines[keyLine + 1] = value;
    }
    platform::WriteFileAtomically(path, JoinWithCrLf(lines));
}

} // namespace util
