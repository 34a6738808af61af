#include "backup/BackupBytes.h"

#include "platform/Cp1252.h"
#include "platform/RegNames.h"
#include "regfile/RegFile.h"
#include "regfile/RegFileBytes.h"
#include "regfile/RegValueLine.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>

namespace backup {

namespace {

constexpr std::string_view kCreatedKeyLead = "created by this change:";

// How much text a grouped file makes before it hands it on.
constexpr std::size_t kPieceSize = 64 * 1024;

bool IsText(platform::RegType type)
{
    return type == platform::RegType::Sz || type == platform::RegType::ExpandSz || type == platform::RegType::MultiSz;
}

FileValueView View(const FileValue& v)
{
    return {v.key.get(), v.name, v.value ? &*v.value : nullptr, &v.comments};
}

class VectorValues final : public FileValues {
public:
    explicit VectorValues(const std::vector<FileValue>& values) : values_(values) {}
    std::size_t Count() const override { return values_.size(); }
    FileValueView At(std::size_t place) const override { return View(values_[place]); }

private:
    const std::vector<FileValue>& values_;
};

regfile::RegFileFormat FormatOf(const FileValues& values)
{
    for (std::size_t i = 0; i < values.Count(); ++i)
        if (const platform::ExactRegValue* value = values.At(i).value; value && value->utf16)
            return regfile::RegFileFormat::Version5;
    return regfile::RegFileFormat::Regedit4;
}

void AppendValue(std::string& text, const FileValueView& v, regfile::RegFileFormat format)
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
        AppendValue(text, View(v), format);
    }
    for (const std::string& created : createdKeys)
        text += "\r\n" + CreatedKeyComment(created);
    return text;
}

// The values grouped by key, the keys in the order they are first named and
// each key's values in their order, without a copy of any: a number for
// each key (one per identity, however it is spelled), and, unless the values
// come grouped already, as a file's values do, the values' places in the
// grouped order. Four bytes a value at most: a file of more than four
// billion values would not fit in memory anyway.
class KeyGroups {
public:
    explicit KeyGroups(const FileValues& values)
    {
        bool grouped = true;
        std::uint32_t last = 0;
        for (std::size_t i = 0; i < values.Count(); ++i) {
            const std::uint32_t group = GroupOf(*values.At(i).key);
            if (group == ends_.size()) {
                firsts_.push_back(static_cast<std::uint32_t>(i));
                ends_.push_back(0);
            }
            ++ends_[group];
            grouped = grouped && group >= last;
            last = group;
        }
        std::uint32_t end = 0;
        for (std::uint32_t& count : ends_)
            end = count += end;
        if (grouped)
            return;
        // Each group's next free place, its end once it is full.
        std::vector<std::uint32_t> next(ends_.size());
        for (std::size_t g = 1; g < ends_.size(); ++g)
            next[g] = ends_[g - 1];
        order_.resize(values.Count());
        for (std::size_t i = 0; i < values.Count(); ++i)
            order_[next[GroupOf(*values.At(i).key)]++] = static_cast<std::uint32_t>(i);
    }

    std::size_t Groups() const { return ends_.size(); }
    // The place of the value that first names the group's key.
    std::size_t First(std::size_t group) const { return firsts_[group]; }
    // The group's values, in grouped order, end at this position.
    std::size_t End(std::size_t group) const { return ends_[group]; }
    // The place of the value at `position` in grouped order.
    std::size_t Place(std::size_t position) const { return order_.empty() ? position : order_[position]; }

private:
    // The values of one section share their key: its number is found by the
    // key's address after the first time.
    std::uint32_t GroupOf(const platform::RegKeyPath& key)
    {
        if (&key == lastKey_)
            return lastGroup_;
        auto [at, fresh] = byAddress_.try_emplace(&key, 0);
        if (fresh)
            at->second = byIdentity_.try_emplace(platform::KeyIdentity(key), static_cast<std::uint32_t>(byIdentity_.size()))
                             .first->second;
        lastKey_ = &key;
        lastGroup_ = at->second;
        return lastGroup_;
    }

    std::unordered_map<const platform::RegKeyPath*, std::uint32_t> byAddress_;
    std::map<std::string, std::uint32_t> byIdentity_;
    const platform::RegKeyPath* lastKey_ = nullptr;
    std::uint32_t lastGroup_ = 0;
    std::vector<std::uint32_t> firsts_;
    std::vector<std::uint32_t> ends_;
    std::vector<std::uint32_t> order_;
};

// Text made a line at a time and handed on in pieces of whole lines, each in
// the file's bytes.
class Pieces {
public:
    Pieces(regfile::RegFileFormat format, const platform::WritePiece& write) : format_(format), write_(write)
    {
        text_.reserve(kPieceSize + kPieceSize / 4);
    }

    std::string& Text() { return text_; }

    // After a whole line.
    void LineMade()
    {
        if (text_.size() >= kPieceSize)
            Flush();
    }

    void Flush()
    {
        write_(started_ ? regfile::RegFileLaterBytes(text_, format_) : regfile::RegFileBytes(text_, format_));
        started_ = true;
        text_.clear();
    }

private:
    regfile::RegFileFormat format_;
    const platform::WritePiece& write_;
    std::string text_;
    bool started_ = false;
};

} // namespace

std::string FileBytes(const std::vector<FileValue>& values, const std::vector<std::string>& createdKeys,
                      Layout layout, const std::vector<std::string>& closing)
{
    if (layout == Layout::Grouped) {
        std::string bytes;
        WriteGroupedBytes(VectorValues(values), createdKeys, closing, [&bytes](std::string_view piece) { bytes += piece; });
        return bytes;
    }
    const regfile::RegFileFormat format = FormatOf(VectorValues(values));
    return regfile::RegFileBytes(OneValueText(values, createdKeys, format), format);
}

void WriteGroupedBytes(const FileValues& values, const std::vector<std::string>& createdKeys,
                       const std::vector<std::string>& closing, const platform::WritePiece& write)
{
    const regfile::RegFileFormat format = FormatOf(values);
    const KeyGroups groups(values);
    Pieces pieces(format, write);
    std::string& text = pieces.Text();
    text += regfile::RegFileHeader(format);
    text += "\r\n";
    std::size_t position = 0;
    for (std::size_t group = 0; group < groups.Groups(); ++group) {
        text += "\r\n[" + KeyText(*values.At(groups.First(group)).key) + "]\r\n";
        for (; position < groups.End(group); ++position) {
            const FileValueView v = values.At(groups.Place(position));
            if (v.comments)
                for (const std::string& comment : *v.comments)
                    text += comment + "\r\n";
            AppendValue(text, v, format);
            text += "\r\n";
            pieces.LineMade();
        }
    }
    if (!createdKeys.empty())
        text += "\r\n";
    for (const std::string& created : createdKeys) {
        text += CreatedKeyComment(created) + "\r\n";
        pieces.LineMade();
    }
    if (!closing.empty())
        text += "\r\n";
    for (const std::string& line : closing)
        text += line + "\r\n";
    pieces.Flush();
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
