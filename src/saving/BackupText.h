#pragma once
// The contents of a backup file: the value that a save is about to replace,
// exactly as the registry holds it, in the registry editor's REGEDIT4 form,
// so that importing the file restores the registry as it was. A text that
// the code page cannot carry needs the editor's Unicode form instead.
#include "saving/SaveKey.h"
#include "platform/Registry.h"
#include "platform/Result.h"
#include "util/PowerClass.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PriorValue {
    std::optional<tk::ExactRegValue> value; // empty: the value does not exist
    // When the key does not exist: the keys that the save creates, outermost
    // first, as a key line spells them. Empty otherwise.
    std::vector<std::string> createdKeys;
};

// Reads what a write of `valueName` under `keyPath` would replace, through
// `power`, whose current key path it changes. Fails when the registry cannot
// say (store broken, access denied): no backup could then be exact.
tk::Result<PriorValue, tk::RegError> ReadPriorValue(PowerClass& power, const std::string& keyPath,
                                                    const SaveKey& key, const std::string& valueName);

// Whether a REGEDIT4 file can name the key and the value: no line ends.
bool BackupCanName(const SaveKey& key, const std::string& valueName);

// "REGEDIT4" CR LF "[key]" CR LF value line, then CR LF "; created by this
// change: [key]" for each key the save creates; no line end after the last
// line. A backup restores values and never deletes a key: what others write
// below a created key after the save must survive its Reverse changes, and an
// empty key left behind harms nothing. For a value in its
// wide form: the same lines after "Windows Registry Editor Version 5.00"
// instead, the value as hex(N) of its UTF-16LE bytes, the whole file in
// UTF-16LE after a byte-order mark.
std::string BackupText(const SaveKey& key, const std::string& valueName, const PriorValue& prior);

// The comment line that names a key a change created, "; created by this
// change: [KEY]" for the key's text as a key line spells it. Restoring a
// backup reads the key back from it, after the lead.
inline constexpr std::string_view kCreatedKeyLead = "created by this change:";
std::string CreatedKeyComment(std::string_view keyText);
