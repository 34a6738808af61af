#include "catalogue/FunctionDefaults.h"

#include "catalogue/FunctionKeys.h"
#include "catalogue/Texts.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "regfile/RegFile.h"
#include "util/Path.h"
#include "util/TextFile.h"

namespace catalogue {

namespace {

// The value read as the data of a value line, by the registry file parser
// itself, so that the file takes exactly what a backup or a profile takes.
platform::Result<std::optional<platform::RegValue>, std::string> DataValue(const std::string& data)
{
    const std::string file = "REGEDIT4\r\n[HKEY_CURRENT_USER\\D]\r\n\"d\"=" + data;
    auto parsed = regfile::ParseRegFile(file, std::string());
    if (!parsed)
        return parsed.Error().reason;
    return std::move(parsed.Value().sections.at(0).values.at(0).value);
}

std::optional<int> FunctionKeyOf(const std::string& line)
{
    if (line.size() < 6 || line.find_first_not_of("0123456789") < 5)
        return std::nullopt;
    const int key = std::stoi(line.substr(0, 5));
    if (key < catalogue::FirstFunction || key % 10 != 0)
        return std::nullopt;
    return key;
}

} // namespace

platform::Result<FunctionDefaults, std::string> ParseDefaults(const std::vector<std::string>& lines,
                                                        const std::string& path)
{
    FunctionDefaults defaults;
    std::map<int, std::size_t> lineOf;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty())
            continue;
        const std::string number = std::to_string(i + 1);
        const std::optional<int> key = FunctionKeyOf(line);
        if (!key)
            return platform::Text(text::BadDefaultLine, {path, number});
        const auto value = DataValue(util::LineValue(line));
        if (!value)
            return platform::Text(text::BadDefaultValue, {path, number, value.Error()});
        if (const auto before = lineOf.find(*key); before != lineOf.end())
            return platform::Text(text::DefaultTwice, {path, number, line.substr(0, 5), std::to_string(before->second)});
        lineOf[*key] = i + 1;
        defaults[*key] = {util::LineValue(line), value.Value()};
    }
    return defaults;
}

std::string DefaultsPath(const std::string& applicationFolder)
{
    return util::JoinPath(applicationFolder, "0019def.ini");
}

bool HasDefaults(const std::string& applicationFolder)
{
    return platform::Exists(DefaultsPath(applicationFolder));
}

platform::Result<FunctionDefaults, std::string> ReadDefaults(const std::string& applicationFolder)
{
    if (!HasDefaults(applicationFolder))
        return FunctionDefaults();
    const std::string path = DefaultsPath(applicationFolder);
    try {
        return ParseDefaults(util::ReadTextLines(path), path);
    } catch (const platform::CException& e) {
        return std::string(e.what());
    }
}

bool DefaultFitsKind(const KindRow& row, const WindowsDefault& windowsDefault)
{
    if (row.storage == ValueStorage::None)
        return false;
    if (!windowsDefault.value)
        return true;
    const platform::RegValue& value = *windowsDefault.value;
    if (row.storage == ValueStorage::Dword)
        return value.type == platform::RegType::Dword && value.data.size() == 4;
    return value.type == platform::RegType::Sz || value.type == platform::RegType::ExpandSz;
}

} // namespace catalogue
