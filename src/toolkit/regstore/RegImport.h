#pragma once
// Importing a registry file, as the registry editor does when a .reg file is
// opened on Windows: the command tunewright-import and the program's own
// "open" of a backup both come here, so both ask and answer in the same words.
//
// The whole file is read and parsed before anything is asked or applied; it
// is then applied to the store as one change. A file with any bad line, a
// "no", or a store that cannot be written leaves the registry as it was.
#include "toolkit/Result.h"
#include "toolkit/regstore/RegFile.h"

#include <functional>
#include <string>
#include <string_view>

namespace tk {

class RegistryStore;

// A registry file's bytes as the registry editor reads and writes them:
// REGEDIT4 in Windows-1252, or "Windows Registry Editor Version 5.00" in
// UTF-16LE with a byte-order mark, whose characters must all exist in
// Windows-1252. Anything else is refused at line 1: a UTF-8 byte-order mark,
// UTF-16 big-endian, a version 5 header in 8-bit text, another first line.
Result<RegFileDocument, RegFileError> ParseRegFileBytes(std::string_view bytes, const std::string& fileName);

// The bytes on disk of `text`, a file in `format` in its Windows-1252 form,
// header line included, as ParseRegFileBytes reads them back.
std::string RegFileBytes(std::string_view text, RegFileFormat format);

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
// asking), then imports it into `store`. A store that cannot be written also
// reports its own fault through ReportError, as every change to it does.
RegImportOutcome ImportRegFile(const std::string& path, RegistryStore& store, const RegImportConfirm& confirm);

} // namespace tk
