#include "changes/BackupHistory.h"

#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "regfile/RegFileBytes.h"

namespace {

// The bytes become the text, not a copy of it: a large file is held once as
// its parse begins.
tk::Result<tk::RegFileText, std::string> ReadText(const std::string& path)
{
    std::string bytes;
    try {
        bytes = tk::ReadWholeFile(path, tk::kMaxRegStoreBytes);
    } catch (const tk::CException& e) {
        return std::string(e.what());
    }
    auto text = tk::RegFileTextOf(std::move(bytes), path);
    if (!text)
        return text.Error().Message();
    return std::move(text.Value());
}

} // namespace

tk::Result<tk::RegFileDocument, std::string> ReadRegistryFile(const std::string& path)
{
    const auto text = ReadText(path);
    if (!text)
        return text.Error();
    auto document = tk::ParseRegFile(text.Value().text, path, text.Value().format, tk::RegWideText::Keep);
    if (!document)
        return document.Error().Message();
    return std::move(document.Value());
}

tk::Result<void, std::string> ReadRegistryFileInto(const std::string& path, tk::RegSectionSink& sink)
{
    const auto text = ReadText(path);
    if (!text)
        return text.Error();
    const auto parsed = tk::ParseRegFileSections(text.Value().text, path, text.Value().format, tk::RegWideText::Keep, sink);
    if (!parsed)
        return parsed.Error().Message();
    return {};
}

tk::Result<std::optional<tk::ExactRegValue>, tk::RegFault> HeldNow(tk::IRegistry& registry, const tk::RegKeyPath& key,
                                                                   const std::string& name)
{
    auto read = registry.QueryExactValue(key.root, key.subKey, name);
    if (read)
        return std::optional<tk::ExactRegValue>(std::move(read.Value()));
    if (read.Error() == tk::RegError::ValueNotFound || read.Error() == tk::RegError::KeyNotFound)
        return std::optional<tk::ExactRegValue>();
    return std::move(read.Error());
}

bool HistoryValue::Equal() const
{
    if (!now)
        return false;
    const std::optional<tk::ExactRegValue>& current = now.Value();
    if (!held)
        return !current;
    return current && current->utf16 == held->utf16 && current->value == held->value;
}

tk::Result<std::vector<HistoryValue>, std::string> CompareBackup(tk::IRegistry& registry, const std::string& path)
{
    const auto document = ReadRegistryFile(path);
    if (!document)
        return document.Error();
    std::vector<HistoryValue> values;
    for (const tk::RegFileSection& section : document.Value().sections) {
        const tk::RegKeyPath key{section.root, section.subKey};
        for (const tk::RegFileValueLine& line : section.values) {
            std::optional<tk::ExactRegValue> held;
            if (line.value)
                held = tk::ExactRegValue{*line.value, line.utf16};
            values.push_back({key, line.name, std::move(held), HeldNow(registry, key, line.name)});
        }
    }
    return values;
}
