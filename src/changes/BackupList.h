#pragma once
// The backups of the backup folder, in the order they were made.
#include "changes/BackupName.h"

#include <cstdint>
#include <string>
#include <vector>

struct BackupFile {
    std::string path;
    std::string fileName;
    BackupName name;
    std::int64_t modified = 0;
};

// The files of `folder` that are named as backups are, newest first: by the
// minute their names hold, then, within one minute, by when they were
// written and by their copy number. Throws tk::CFileException naming the
// folder when it cannot be read.
std::vector<BackupFile> ListBackups(const std::string& folder);
