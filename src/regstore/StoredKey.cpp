#include "regstore/StoredKey.h"

#include "platform/RegNames.h"

#include <iterator>

namespace tk {

void StoredKey::Apply(RegFileSection&& section, bool keepComments)
{
    for (RegFileValueLine& line : section.values) {
        if (!line.value) {
            values.erase(FoldedName(line.name));
            continue;
        }
        const auto [at, made] = values.try_emplace(FoldedName(line.name));
        StoredValue& stored = at->second;
        if (made)
            stored.name = std::move(line.name);
        stored.value = std::move(*line.value);
        if (keepComments)
            stored.comments.insert(stored.comments.end(), std::make_move_iterator(line.comments.begin()),
                                   std::make_move_iterator(line.comments.end()));
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
