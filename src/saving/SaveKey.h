#pragma once
// The key that a save writes to, read from the catalogue's path form: one of
// the two roots the program writes, then the key names.
#include "platform/Registry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace saving {

struct SaveKey {
    platform::RegRoot root = platform::RegRoot::CurrentUser;
    std::vector<std::string> names; // below the root, outermost first

    // The root and the first `depth` names: in path form (root, then every
    // separator doubled), as PowerClass reads it, and as the registry editor
    // writes a key, with single separators.
    std::string PathForm(std::size_t depth) const;
    std::string Text(std::size_t depth) const;
    std::string Text() const { return Text(names.size()); }
    // The whole key as the registry names it.
    platform::RegKeyPath KeyPath() const;
};

// Empty when the key path names no root the program writes to. A run of
// separators counts as one, as in the registry.
std::optional<SaveKey> ParseSaveKey(const std::string& keyPath);

} // namespace saving
