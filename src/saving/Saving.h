#pragma once
// Saving a new value: the number check, the exact backup, then the write.
// The handler of the main dialog gathers the request before its first
// message box and shows what the outcome asks for.
#include "catalogue/FunctionKind.h"
#include "saving/NewValue.h"
#include "util/PowerClass.h"

#include <string>

namespace saving {

struct SaveRequest {
    catalogue::KindRow row;       // a kind that stores a value
    std::string keyPath;          // path form, as the catalogue gives it
    std::string valueName;
    PanelInput input;
    std::string functionName;     // names the backup file
    int functionKey = 0;
    std::string applicationFolder;
};

enum class SaveResult {
    Saved,      // backup written, then the value
    Refused,    // a number that is no number or outside the bounds: nothing written
    NotWritten, // the message says why; no registry change
    BackupNotWritten, // the message names the backup file and why; no registry change
};

struct SaveOutcome {
    SaveResult result = SaveResult::Saved;
    std::string message;    // NotWritten: what the user is told
    std::string backupPath; // the backup written, if any
};

// The registry is not touched unless the backup was written.
SaveOutcome SaveNewValue(const SaveRequest& request, util::PowerClass& power);

// What the user is told when the shown function has no kind that can be
// saved; an empty name: no function is shown.
std::string NothingToSaveMessage(const std::string& functionName, const std::string& header);

} // namespace saving
