#include "saving/SaveKey.h"

#include "util/PowerClass.h"

#include <algorithm>

namespace saving {

namespace {

std::string Joined(const SaveKey& key, std::size_t depth, const std::string& separator)
{
    std::string text(platform::RootName(key.root));
    for (std::size_t i = 0; i < depth && i < key.names.size(); ++i)
        text += separator + key.names[i];
    return text;
}

} // namespace

std::string SaveKey::PathForm(std::size_t depth) const
{
    return Joined(*this, depth, "\\\\");
}

std::string SaveKey::Text(std::size_t depth) const
{
    return Joined(*this, depth, "\\");
}

platform::RegKeyPath SaveKey::KeyPath() const
{
    std::string subKey;
    for (const std::string& name : names)
        subKey += (subKey.empty() ? "" : "\\") + name;
    return {root, subKey};
}

std::optional<SaveKey> ParseSaveKey(const std::string& keyPath)
{
    const std::optional<platform::RegKeyPath> resolved = util::PowerClass::ResolvePathForm(keyPath);
    if (!resolved)
        return std::nullopt;
    SaveKey key{resolved->root, {}};
    const std::string& sub = resolved->subKey;
    for (std::size_t begin = 0; begin < sub.size();) {
        const std::size_t end = std::min(sub.find('\\', begin), sub.size());
        if (end > begin)
            key.names.push_back(sub.substr(begin, end - begin));
        begin = end + 1;
    }
    return key;
}

} // namespace saving
