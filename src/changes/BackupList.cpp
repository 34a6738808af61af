#include "changes/BackupList.h"

#include "platform/FileSystem.h"
#include "util/Path.h"

#include <algorithm>
#include <tuple>

std::vector<BackupFile> ListBackups(const std::string& folder)
{
    std::vector<BackupFile> backups;
    for (tk::FolderFile& file : tk::ListFiles(folder))
        if (std::optional<BackupName> name = ParseBackupName(file.name))
            backups.push_back({JoinPath(folder, file.name), std::move(file.name), std::move(*name), file.modified});
    std::sort(backups.begin(), backups.end(), [](const BackupFile& a, const BackupFile& b) {
        return std::tie(a.name.stamp, a.modified, a.name.copy, a.fileName) >
               std::tie(b.name.stamp, b.modified, b.name.copy, b.fileName);
    });
    return backups;
}
