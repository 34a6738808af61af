#pragma once
// What a backup holds beside what the registry holds now: the history that
// the command line prints and the window lists.
#include "platform/Registry.h"
#include "platform/Result.h"
#include "regfile/RegFile.h"

#include <optional>
#include <string>
#include <vector>

namespace changes {

// A registry file read and parsed, or the reader's message, which names the
// file (and the line of a fault). A version 5 file's text that the code page
// cannot hold is kept in its wide form, for the history to show and for the
// change's plan to refuse naming the file and line.
platform::Result<regfile::RegFileDocument, std::string> ReadRegistryFile(const std::string& path);
// The same read, each section handed to `sink` as it is parsed: nothing is
// left of the file but what the sink keeps. The file is read a piece at a
// time, not held whole, unless it starts with a byte-order mark.
platform::Result<void, std::string> ReadRegistryFileInto(const std::string& path, regfile::RegSectionSink& sink);

// What the registry holds now as `name` of `key`: none when the value or its
// key is not there; the registry's fault, in its own words, when it cannot
// say.
platform::Result<std::optional<platform::ExactRegValue>, platform::RegFault> HeldNow(platform::IRegistry& registry, const platform::RegKeyPath& key,
                                                                   const std::string& name);

struct HistoryValue {
    platform::RegKeyPath key;
    std::string name;
    std::optional<platform::ExactRegValue> held; // what the backup holds; none: the value was not there
    // What the registry holds now (none: no value), or why it cannot say.
    platform::Result<std::optional<platform::ExactRegValue>, platform::RegFault> now;

    // Whether the registry holds what the backup holds, type and bytes; false
    // when the registry cannot say.
    bool Equal() const;
};

// Each value line of the backup, in the file's order, beside the registry's
// value; the reader's message when the backup cannot be read.
platform::Result<std::vector<HistoryValue>, std::string> CompareBackup(platform::IRegistry& registry, const std::string& path);

} // namespace changes
