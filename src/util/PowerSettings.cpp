#include "util/PowerClass.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Services.h"
#include "util/TextFile.h"

#include <filesystem>
#include <vector>

namespace {

// A setting is a key line and the value line right after it. The value line
// is consumed, so a value that happens to equal a key's name never starts a
// setting; when a key occurs more than once the last occurrence wins.
std::string FindSettingValue(const std::vector<std::string>& lines, const std::string& key)
{
    std::string value;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != key)
            continue;
        value = i + 1 < lines.size() ? lines[i + 1] : std::string();
        ++i;
    }
    return value;
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
    return tk::CurrentServices().executablePath.parent_path().string();
}

std::string PowerClass::SettingsPath() const
{
    return (std::filesystem::path(GetApplicationFolder()) / "config.ini").string();
}

std::string PowerClass::ReadSetting(const std::string& key) const
{
    return FindSettingValue(ReadTextLines(SettingsPath()), key);
}

void PowerClass::WriteSetting(const std::string& key, const std::string& value) const
{
    const std::string path = SettingsPath();
    std::vector<std::string> lines = ReadTextLines(path);
    // Every occurrence of the key gets the value. The file is only replaced
    // once all of them could be changed, so a setting without its value line
    // leaves the file as it was.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != key)
            continue;
        if (i + 1 == lines.size())
            throw tk::CFileException(path, "the setting \"" + key
                                               + "\" has no value line: its key line is the last line of the file");
        lines[i + 1] = value;
    }
    tk::WriteFileAtomically(path, JoinWithCrLf(lines));
}
