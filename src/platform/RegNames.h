#pragma once
// How the registry compares and splits names. Key and value names match
// without regard to the case of ASCII letters and keep the spelling they were
// created with; every other byte compares as it is, so 8-bit text stays intact.
#include "platform/Registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

bool NamesEqual(std::string_view a, std::string_view b);

// A strict weak order consistent with NamesEqual; transparent, so maps keyed
// by std::string can be searched with a string_view.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// The key names of a sub-key. Inside it a run of backslashes counts as one
// separator and trailing ones are ignored, so "A\\\\B", "A\\B" and "A\\B\\" all
// name the same key; an empty path names the root. A leading backslash would
// put an empty name first: such a path names no key (nullopt), as Windows
// refuses it.
std::optional<std::vector<std::string_view>> SplitKeyPath(std::string_view subKey);

// The key names of a sub-key joined by single backslashes, as a rewrite of
// the store spells the key: "A\\\\B\\" gives "A\\B". Empty for the root.
std::string JoinedKeyPath(std::string_view subKey);

// A key's identity, what lookups compare: the digit of its root's place in
// kRegRoots, then each key name after a backslash, folded to lower case
// ("1\\software\\vendor"). Every spelling that names the same key gives the
// same bytes, so names are folded once and then compared as they are. False,
// with `out` as it was, for a sub-key that names no key.
bool AppendKeyIdentity(std::string& out, RegRoot root, std::string_view subKey);

// The identity of `key`; empty for a sub-key that names no key.
std::string KeyIdentity(const RegKeyPath& key);

// The first `depth` of `names` (SplitKeyPath's) joined by single backslashes:
// the sub-key of the key that many levels below the root.
std::string JoinedKeyNames(const std::vector<std::string_view>& names, std::size_t depth);

// The order of keys in the store's file: roots in order, each key before the
// keys below it, siblings by folded name. A strict weak order of identities.
bool KeyIdentityLess(std::string_view a, std::string_view b);

// Whether `identity` names a key below `ancestor`, at any depth.
bool IsBelow(std::string_view identity, std::string_view ancestor);

// The identity of the key one level up; a root has none (empty).
std::string_view ParentIdentity(std::string_view identity);

// A value name folded to lower case: the key of a key's values.
std::string FoldedName(std::string_view name);

// Whether a key or value name survives a trip through the store's text file.
// Line ends cannot be written inside a name there.
bool IsStorableName(std::string_view name);

} // namespace platform
