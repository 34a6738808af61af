#include "regstore/StoredKey.h"

#include "platform/RegNames.h"

#include <iterator>

namespace regstore {

void StoredKey::Apply(regfile::RegFileSection&& section, bool keepComments)
{
    for (regfile::RegFileValueLine& line : section.values) {
        if (!line.value) {
            values.erase(platform::FoldedName(line.name));
            continue;
        }
        const auto [at, made] = values.try_emplace(platform::FoldedName(line.name));
        StoredValue& stored = at->second;
        if (made)
            stored.name = std::move(line.name);
        stored.value = std::move(*line.value);
        if (keepComments)
            stored.comments.insert(stored.comments.end(), std::make_move_iterator(line.comments.begin()),
                                   std::make_move_iterator(line.comments.end()));
    }
}

const platform::RegValue* StoredKey::Find(std::string_view name) const
{
    const auto value = values.find(platform::FoldedName(name));
    return value == values.end() ? nullptr : &value->second.value;
}

void StoredKey::Set(std::string_view name, const platform::RegValue& value)
{
    values.try_emplace(platform::FoldedName(name), StoredValue{std::string(name), {}, {}}).first->second.value = value;
}

void StoredKey::AppendTo(std::string& out) const
{
    regfile::AppendRegKeyLine(out, root, path);
    for (const auto& entry : values) {
        regfile::AppendRegLines(out, entry.second.comments);
        regfile::AppendRegValueLine(out, entry.second.name, entry.second.value);
    }
}

} // namespace regstore
