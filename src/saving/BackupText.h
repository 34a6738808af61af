#pragma once
// What the backup of a save holds: the value that the save is about to
// replace, exactly as the registry holds it, and the keys the save creates.
// The backup library writes the bytes.
#include "saving/SaveKey.h"
#include "platform/Registry.h"
#include "platform/Result.h"
#include "util/PowerClass.h"

#include <optional>
#include <string>
#include <vector>

namespace saving {

struct PriorValue {
    std::optional<platform::ExactRegValue> value; // empty: the value does not exist
    // When the key does not exist: the keys that the save creates, outermost
    // first, as a key line spells them. Empty otherwise.
    std::vector<std::string> createdKeys;
};

// Reads what a write of `valueName` under `keyPath` would replace, through
// `power`, whose current key path it changes. Fails when the registry cannot
// say (store broken, access denied): no backup could then be exact.
platform::Result<PriorValue, platform::RegFault> ReadPriorValue(util::PowerClass& power, const std::string& keyPath,
                                                    const SaveKey& key, const std::string& valueName);

// Whether a REGEDIT4 file can name the key and the value: no line ends.
bool BackupCanName(const SaveKey& key, const std::string& valueName);

// The backup's bytes, in the one-value layout (backup/BackupBytes.h).
std::string BackupText(const SaveKey& key, const std::string& valueName, const PriorValue& prior);

} // namespace saving
