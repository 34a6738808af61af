#include "backup/BackupFolder.h"

#include "backup/Stamp.h"
#include "backup/Texts.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/NewFile.h"
#include "util/Path.h"

#include <algorithm>
#include <tuple>

namespace backup {

std::string BackupFault::Message() const
{
    return "\"" + path + "\": " + cause;
}

std::string BackupFolder(const std::string& applicationFolder)
{
    return JoinPath(applicationFolder, "backup");
}

tk::Result<std::string, BackupFault> WriteBackup(const std::string& folder, const std::string& name,
                                                 int functionKey, std::string_view bytes)
{
    BackupName file{StampNow(), ShortenedName(NamePart(name, functionKey), tk::LongestNewFileName(folder)), 1};
    try {
        for (; file.copy <= kMaxCopies; ++file.copy) {
            const std::string path = JoinPath(folder, FormatBackupName(file));
            if (tk::CreateNewFile(path, bytes) == tk::NewFileResult::Created)
                return path;
        }
    } catch (const tk::CFileException& e) {
        return BackupFault{e.Path(), e.Cause()};
    }
    file.copy = 1;
    return BackupFault{JoinPath(folder, FormatBackupName(file)),
                       tk::Text(text::AllCopiesTaken, {std::to_string(kMaxCopies - 1)})};
}

tk::Result<std::vector<BackupFile>, BackupFault> ListBackups(const std::string& folder)
{
    std::vector<tk::FolderFile> files;
    try {
        files = tk::ListFiles(folder);
    } catch (const tk::CFileException& e) {
        return BackupFault{e.Path(), e.Cause()};
    }
    std::vector<BackupFile> backups;
    for (tk::FolderFile& file : files)
        if (std::optional<BackupName> name = ParseBackupName(file.name))
            backups.push_back({JoinPath(folder, file.name), std::move(file.name), std::move(*name), file.modified});
    std::sort(backups.begin(), backups.end(), [](const BackupFile& a, const BackupFile& b) {
        return std::tie(a.name.stamp, a.modified, a.name.copy, a.fileName) >
               std::tie(b.name.stamp, b.modified, b.name.copy, b.fileName);
    });
    return backups;
}

} // namespace backup
