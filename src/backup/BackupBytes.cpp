#include "backup/BackupBytes.h"

#include "platform/Cp1252.h"
#include "platform/RegNames.h"
#include "regfile/RegFile.h"
#include "regfile/RegFileBytes.h"
#include "regfile/RegValueLine.h"

#include <algorithm>
#include <map>

namespace backup {

namespace {

constexpr std::string_view kCreatedKeyLead = "created by this change:";

bool IsText(platform::RegType type)
{
    return type == platform::RegType::Sz || type == platform::RegType::ExpandSz || type == platform::RegType::MultiSz;
}

void AppendValue(std::string& text, const FileValue& v, regfile::RegFileFormat format)
{
    if (!v.value) {
        regfile::AppendRemovedValueLine(text, v.name);
    } else if (v.value->utf16) {
        regfile::AppendHexValueLine(text, v.name, v.value->value);
    } else if (format == regfile::RegFileFormat::Version5 && IsText(v.value->value.type)) {
        // Text in this form is read as UTF-16LE.
        const auto& data = v.value->value.data;
        const std::string wide = platform::Cp1252ToUtf16Le(std::string(data.begin(), data.end()));
        regfile::AppendHexValueLine(text, v.name, platform::RegValue{v.value->value.type, {wide.begin(), wide.end()}});
    } else {
        regfile::AppendValueLine(text, v.name, v.value->value);
    }
}

std::string CreatedKeyComment(const std::string& keyText)
{
    return "; " + std::string(kCreatedKeyLead) + " [" + keyText + "]";
}

std::string OneValueText(const std::vector<FileValue>& values, const std::vector<std::string>& createdKeys,
                         regfile::RegFileFormat format)
{
    std::string text(regfile::RegFileHeader(format));
    for (const FileValue& v : values) {
        text += "\r\n[" + KeyText(*v.key) + "]";
        for (const std::string& comment : v.comments)
            text += "\r\n" + comment;
        text += "\r\n";
        AppendValue(text, v, format);
    }
    for (const std::string& created : createdKeys)
        text += "\r\n" + CreatedKeyComment(created);
    return text;
}

std::string GroupedText(const std::vector<FileValue>& values, const std::vector<std::string>& createdKeys,
                        const std::vector<std::string>& closing, regfile::RegFileFormat format)
{
    std::vector<std::string> order;
    std::map<std::string, std::vector<const FileValue*>> byKey;
    for (const FileValue& v : values) {
        auto& group = byKey[platform::KeyIdentity(*v.key)];
        if (group.empty())
            order.push_back(platform::KeyIdentity(*v.key));
        group.push_back(&v);
    }
    std::string text = std::string(regfile::RegFileHeader(format)) + "\r\n";
    for (const std::string& identity : order) {
        const auto& group = byKey[identity];
        text += "\r\n[" + KeyText(*group.front()->key) + "]\r\n";
        for (const FileValue* v : group) {
            for (const std::string& comment : v->comments)
                text += comment + "\r\n";
            AppendValue(text, *v, format);
            text += "\r\n";
        }
    }
    if (!createdKeys.empty())
        text += "\r\n";
    for (const std::string& created : createdKeys)
        text += CreatedKeyComment(created) + "\r\n";
    if (!closing.empty())
        text += "\r\n";
    for (const std::string& line : closing)
        text += line + "\r\n";
    return text;
}

} // namespace

std::string FileBytes(const std::vector<FileValue>& values, const std::vector<std::string>& createdKeys,
                      Layout layout, const std::vector<std::string>& closing)
{
    const bool wide = std::any_of(values.begin(), values.end(),
                                  [](const FileValue& v) { return v.value && v.value->utf16; });
    const regfile::RegFileFormat format = wide ? regfile::RegFileFormat::Version5 : regfile::RegFileFormat::Regedit4;
    const std::string text = layout == Layout::OneValue ? OneValueText(values, createdKeys, format)
                                                        : GroupedText(values, createdKeys, closing, format);
    return regfile::RegFileBytes(text, format);
}

std::string KeyText(const platform::RegKeyPath& key)
{
    const std::string path = platform::JoinedKeyPath(key.subKey);
    return std::string(platform::RootName(key.root)) + (path.empty() ? "" : "\\" + path);
}

std::optional<platform::RegKeyPath> CreatedKeyOf(std::string_view comment)
{
    if (!comment.starts_with(';'))
        return std::nullopt;
    comment.remove_prefix(1);
    comment.remove_prefix(std::min(comment.find_first_not_of(" \t"), comment.size()));
    if (!comment.starts_with(kCreatedKeyLead))
        return std::nullopt;
    const auto key = regfile::ParseRegKeyLine(comment.substr(kCreatedKeyLead.size()));
    if (!key || key.Value().deleteKey)
        return std::nullopt;
    return platform::RegKeyPath{key.Value().root, std::string(key.Value().subKey)};
}

} // namespace backup
