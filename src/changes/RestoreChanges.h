#pragma once
// Restoring one backup and undoing several: the change each makes, read from
// the backup files, and the name its own backup gets. The command line and
// the window's history of changes do both through these.
#include "backup/BackupFolder.h"
#include "changes/ChangeSet.h"
#include "platform/Result.h"

#include <string>
#include <variant>
#include <vector>

namespace changes {

// Why backup files give no change: the file, and either the reader's message
// (naming the file, and the line of a fault) or what a line asks for that a
// change may not do.
struct BackupReadFault {
    std::string path;
    std::variant<std::string, ChangeFileFault> why;
};

// The change that restoring the backup at `path` makes.
platform::Result<ChangeSet, BackupReadFault> RestoreChanges(const std::string& path);

// The change that undoing the backups makes, given newest first: every value
// they cover gets what the oldest of them holds for it. The first backup
// that gives no change stops it.
platform::Result<ChangeSet, BackupReadFault> UndoBackupChanges(const std::vector<backup::BackupFile>& newestFirst);

// What the backups of these changes are named after: "restore NAME" (the
// restored backup's name, or its file name without ".reg"), "reverse NAME"
// (the same, for a backup handed to the registry editor or the importer),
// "undo since YYYYMMDD HH.MM" and "profile NAME".
std::string RestoreChangeName(const std::string& backupFileName);
std::string ReverseChangeName(const std::string& backupFileName);
std::string UndoChangeName(const std::string& sinceStamp);
std::string ProfileChangeName(const std::string& profileFileName);

} // namespace changes
