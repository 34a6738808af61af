#include "changes/RegFileText.h"

#include "changes/ChangeSet.h"
#include "platform/Cp1252.h"
#include "platform/RegNames.h"
#include "regfile/RegFileBytes.h"
#include "regfile/RegValueLine.h"

#include <algorithm>
#include <map>

namespace {

bool IsText(tk::RegType type)
{
    return type == tk::RegType::Sz || type == tk::RegType::ExpandSz || type == tk::RegType::MultiSz;
}

void AppendValue(std::string& text, const FileValue& v, tk::RegFileFormat format)
{
    if (!v.value) {
        tk::AppendRemovedValueLine(text, v.name);
    } else if (v.value->utf16) {
        tk::AppendHexValueLine(text, v.name, v.value->value);
    } else if (format == tk::RegFileFormat::Version5 && IsText(v.value->value.type)) {
        // Text in this form is read as UTF-16LE.
        const auto& data = v.value->value.data;
        const std::string wide = tk::Cp1252ToUtf16Le(std::string(data.begin(), data.end()));
        tk::AppendHexValueLine(text, v.name, tk::RegValue{v.value->value.type, {wide.begin(), wide.end()}});
    } else {
        tk::AppendValueLine(text, v.name, v.value->value);
    }
}

} // namespace

std::string RegFileBytesOf(const std::vector<FileValue>& values, const std::vector<std::string>& closing)
{
    const bool wide = std::any_of(values.begin(), values.end(),
                                  [](const FileValue& v) { return v.value && v.value->utf16; });
    const tk::RegFileFormat format = wide ? tk::RegFileFormat::Version5 : tk::RegFileFormat::Regedit4;

    std::vector<std::string> order;
    std::map<std::string, std::vector<const FileValue*>> byKey;
    for (const FileValue& v : values) {
        auto& group = byKey[tk::KeyIdentity(v.key)];
        if (group.empty())
            order.push_back(tk::KeyIdentity(v.key));
        group.push_back(&v);
    }
    std::string text = std::string(tk::RegFileHeader(format)) + "\r\n";
    for (const std::string& identity : order) {
        const auto& group = byKey[identity];
        text += "\r\n[" + KeyText(group.front()->key) + "]\r\n";
        for (const FileValue* v : group) {
            for (const std::string& comment : v->comments)
                text += comment + "\r\n";
            AppendValue(text, *v, format);
            text += "\r\n";
        }
    }
    if (!closing.empty())
        text += "\r\n";
    for (const std::string& comment : closing)
        text += comment + "\r\n";
    return tk::RegFileBytes(text, format);
}

std::string ValueDataText(const tk::ExactRegValue& value)
{
    std::string line;
    if (value.utf16)
        tk::AppendHexValueLine(line, {}, value.value);
    else
        tk::AppendValueLine(line, {}, value.value);
    // "@=" before it, and the breaks of long hex data.
    std::string data;
    for (std::size_t i = 2; i < line.size(); ++i) {
        if (line.compare(i, 5, "\\\r\n  ") == 0) {
            i += 4;
            continue;
        }
        data += line[i];
    }
    return data;
}

std::optional<std::string> ValueDataText(const std::optional<tk::ExactRegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(*value);
}

std::optional<std::string> ValueDataText(const std::optional<tk::RegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(tk::ExactRegValue{*value, false});
}
