#include "changes/BackupHistory.h"

#include "changes/FilePieces.h"
#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "regfile/RegFileBytes.h"

namespace changes {

namespace {

// The bytes become the text, not a copy of it: a large file is held once as
// its parse begins.
platform::Result<regfile::RegFileText, std::string> ReadText(const std::string& path)
{
    std::string bytes;
    try {
        bytes = platform::ReadWholeFile(path, regfile::kMaxRegStoreBytes);
    } catch (const platform::CException& e) {
        return std::string(e.what());
    }
    auto text = regfile::RegFileTextOf(std::move(bytes), path);
    if (!text)
        return text.Error().Message();
    return std::move(text.Value());
}

// The file read whole, as one that starts with a byte-order mark is: its
// text converted from UTF-16LE or refused.
platform::Result<void, std::string> ReadWholeFileInto(const std::string& path, regfile::RegSectionSink& sink)
{
    const auto text = ReadText(path);
    if (!text)
        return text.Error();
    const auto parsed = regfile::ParseRegFileSections(text.Value().text, path, text.Value().format, regfile::RegWideText::Keep, sink);
    if (!parsed)
        return parsed.Error().Message();
    return {};
}

} // namespace

platform::Result<regfile::RegFileDocument, std::string> ReadRegistryFile(const std::string& path)
{
    const auto text = ReadText(path);
    if (!text)
        return text.Error();
    auto document = regfile::ParseRegFile(text.Value().text, path, text.Value().format, regfile::RegWideText::Keep);
    if (!document)
        return document.Error().Message();
    return std::move(document.Value());
}

platform::Result<void, std::string> ReadRegistryFileInto(const std::string& path, regfile::RegSectionSink& sink)
{
    // Read twice, a piece at a time: first for the form and the number of
    // value lines, so that the sink reserves once, then for the parse.
    std::optional<regfile::RegFileFormat> format;
    std::size_t valueLines = 0;
    bool whole = false;
    std::optional<platform::Result<void, regfile::RegFileError>> parsed;
    try {
        platform::ReadFileAsItGoes(path, regfile::kMaxRegStoreBytes, [&](const platform::ReadPart& read) {
            RegistryFilePieces counting(read);
            for (std::string piece; counting.More(piece); piece.clear()) {
                if (!format)
                    format = regfile::RegFileFormatOf(piece);
                valueLines += regfile::RegFileValueLines(piece);
            }
            whole = counting.ByteOrderMark();
        });
        if (!whole)
            platform::ReadFileAsItGoes(path, regfile::kMaxRegStoreBytes, [&](const platform::ReadPart& read) {
                RegistryFilePieces pieces(read);
                parsed = regfile::ParseRegFileSections(pieces, valueLines, path,
                                                       format.value_or(regfile::RegFileFormat::Regedit4),
                                                       regfile::RegWideText::Keep, sink);
                // Replaced meanwhile by a file of another form: nothing was parsed.
                whole = pieces.ByteOrderMark();
            });
    } catch (const platform::CException& e) {
        return std::string(e.what());
    }
    if (whole)
        return ReadWholeFileInto(path, sink);
    if (!parsed->HasValue())
        return parsed->Error().Message();
    return {};
}

platform::Result<std::optional<platform::ExactRegValue>, platform::RegFault> HeldNow(platform::IRegistry& registry, const platform::RegKeyPath& key,
                                                                   const std::string& name)
{
    auto read = registry.QueryExactValue(key.root, key.subKey, name);
    if (read)
        return std::optional<platform::ExactRegValue>(std::move(read.Value()));
    if (read.Error() == platform::RegError::ValueNotFound || read.Error() == platform::RegError::KeyNotFound)
        return std::optional<platform::ExactRegValue>();
    return std::move(read.Error());
}

bool HistoryValue::Equal() const
{
    if (!now)
        return false;
    const std::optional<platform::ExactRegValue>& current = now.Value();
    if (!held)
        return !current;
    return current && current->utf16 == held->utf16 && current->value == held->value;
}

platform::Result<std::vector<HistoryValue>, std::string> CompareBackup(platform::IRegistry& registry, const std::string& path)
{
    const auto document = ReadRegistryFile(path);
    if (!document)
        return document.Error();
    std::vector<HistoryValue> values;
    for (const regfile::RegFileSection& section : document.Value().sections) {
        const platform::RegKeyPath key{section.root, section.subKey};
        for (const regfile::RegFileValueLine& line : section.values) {
            std::optional<platform::ExactRegValue> held;
            if (line.value)
                held = platform::ExactRegValue{*line.value, line.utf16};
            values.push_back({key, line.name, std::move(held), HeldNow(registry, key, line.name)});
        }
    }
    return values;
}

} // namespace changes
