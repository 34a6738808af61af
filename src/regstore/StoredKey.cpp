#include "regstore/StoredKey.h"

#include "platform/RegNames.h"

namespace tk {

StoredKey StoredKey::FromSection(const RegFileSection& section)
{
    StoredKey key{section.root, JoinedKeyPath(section.subKey), {}, {}};
    key.Apply(section, true);
    return key;
}

void StoredKey::Apply(const RegFileSection& section, bool keepComments)
{
    for (const RegFileValueLine& line : section.values) {
        if (!line.value) {
            values.erase(FoldedName(line.name));
            continue;
        }
        StoredValue& stored = values.try_emplace(FoldedName(line.name), StoredValue{line.name, {}, {}}).first->second;
        stored.value = *line.value;
        if (keepComments)
            stored.comments.insert(stored.comments.end(), line.comments.begin(), line.comments.end());
    }
}

const RegValue* StoredKey::Find(std::string_view name) const
{
    const auto value = values.find(FoldedName(name));
    return value == values.end() ? nullptr : &value->second.value;
}

void StoredKey::Set(std::string_view name, const RegValue& value)
{
    values.try_emplace(FoldedName(name), StoredValue{std::string(name), {}, {}}).first->second.value = value;
}

void StoredKey::AppendTo(std::string& out) const
{
    AppendRegKeyLine(out, root, path);
    for (const auto& entry : values) {
        AppendRegLines(out, entry.second.comments);
        AppendRegValueLine(out, entry.second.name, entry.second.value);
    }
}

} // namespace tk
