#pragma once
// The backup folder: writing a backup into it under the first free name, and
// listing the backups it holds in the order they were made. Faults come back
// as results; nothing here throws.
#include "backup/BackupName.h"
#include "platform/NewFile.h"
#include "platform/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace backup {

// The backup could not be written, or the folder not read: the file or
// folder, and why.
struct BackupFault {
    std::string path;
    std::string cause;

    // "PATH": cause, as the user reads it.
    std::string Message() const;
};

// The folder "backup" in the application folder; the program never creates it.
std::string BackupFolder(const std::string& applicationFolder);

// Writes `bytes` as a new backup named after this minute (one reading of the
// clock) and `name` (NamePart's, with `functionKey` for a name that leaves
// nothing), under the first copy number that is free, and returns its path.
// Backups are never overwritten, and a failed write leaves no file behind.
[[nodiscard]] platform::Result<std::string, BackupFault> WriteBackup(const std::string& folder, const std::string& name,
                                                                     int functionKey, std::string_view bytes);
// The same, the bytes made as they are written (NewFileContent), so that a
// large backup is never held whole.
[[nodiscard]] platform::Result<std::string, BackupFault> WriteBackup(const std::string& folder, const std::string& name,
                                                                     int functionKey, const platform::NewFileContent& bytes);

struct BackupFile {
    std::string path;
    std::string fileName;
    BackupName name;
    std::int64_t modified = 0;
};

// The files of `folder` that are named as backups are, newest first: by the
// minute their names hold, then, within one minute, by when they were
// written and by their copy number.
[[nodiscard]] platform::Result<std::vector<BackupFile>, BackupFault> ListBackups(const std::string& folder);

} // namespace backup
