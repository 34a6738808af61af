#pragma once
// Importing a registry file, as the registry editor does when a .reg file is
// opened on Windows: the command tunewright-import and the program's own
// "open" of a backup both come here, so both ask and answer in the same words.
//
// The whole file is read and checked before anything is asked or applied; it
// is then applied to the store as one change, the store's new text written to
// its temporary file as it is made, so that a large file costs little more
// than its size in memory. A file with any bad line,
// a "no", or a store that cannot be written leaves the registry as it was.
#include "platform/Result.h"
#include "regfile/RegFile.h"
#include "regfile/RegFileBytes.h"

#include <functional>
#include <string>
#include <string_view>

namespace regstore {

class RegistryStore;

// The question asked before a file is imported, and the report of success.
std::string RegImportQuestion(const std::string& path);
std::string RegImportDoneText(const std::string& path);

enum class RegImportStatus { Imported, Declined, Failed };

struct RegImportOutcome {
    RegImportStatus status = RegImportStatus::Failed;
    // Imported: RegImportDoneText; Failed: why, naming the file (and its line
    // or the store); Declined: empty.
    std::string message;
};

// Shown RegImportQuestion's text; true imports.
using RegImportConfirm = std::function<bool(const std::string& question)>;

// Reads and parses the file at `path`, asks `confirm` (none: imports without
// asking), then imports it into `store`. A store that cannot be written is
// named in the outcome's message, with its cause.
RegImportOutcome ImportRegFile(const std::string& path, RegistryStore& store, const RegImportConfirm& confirm);

} // namespace regstore
