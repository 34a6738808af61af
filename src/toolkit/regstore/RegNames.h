#pragma once
// How the registry compares and splits names. Key and value names match
// without regard to the case of ASCII letters and keep the spelling they were
// created with; every other byte compares as it is, so 8-bit text stays intact.
#include <optional>
#include <string_view>
#include <vector>

namespace tk {

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

// Whether a key or value name survives a trip through the store's text file.
// Line ends cannot be written inside a name there.
bool IsStorableName(std::string_view name);

} // namespace tk
