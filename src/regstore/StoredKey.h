#pragma once
// One key of the store as its section in the file holds it: the spelling of
// its path, and its values by folded name, each with its own spelling and the
// comment lines before it. The map's order is that of a rewrite.
#include "platform/Registry.h"
#include "regfile/RegFile.h"

#include <map>
#include <string>
#include <vector>

namespace regstore {

struct StoredValue {
    std::string name;
    platform::RegValue value;
    std::vector<std::string> comments;
};

struct StoredKey {
    platform::RegRoot root = platform::RegRoot::CurrentUser;
    std::string path; // JoinedKeyPath's spelling; empty for a root
    std::map<std::string, StoredValue> values;
    // The comment lines before the key's line, where a rewrite puts them; a
    // change in place leaves them where they are and keeps none here.
    std::vector<std::string> comments;

    // A section of the key, its lines in order, as ApplyRegFile takes them:
    // a later line wins and keeps the first spelling, "name"=- removes the
    // value with its comments. The comments before its values are kept only
    // when `keepComments`, as a file imported into the store brings none.
    void Apply(regfile::RegFileSection&& section, bool keepComments);

    // The value named `name` in any case, or null.
    const platform::RegValue* Find(std::string_view name) const;

    // Sets the value, keeping the spelling and comments of one already there.
    void Set(std::string_view name, const platform::RegValue& value);

    // The key line and the value lines, each value after its comments, as
    // SerialiseRegFile writes them; the key's own comments are left to the
    // caller.
    void AppendTo(std::string& out) const;
};

} // namespace regstore
