#include "backup/BackupFolder.h"

#include "backup/Stamp.h"
#include "backup/Texts.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
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
    return util::JoinPath(applicationFolder, "backup");
}

platform::Result<std::string, BackupFault> WriteBackup(const std::string& folder, const std::string& name,
                                                       int functionKey, std::string_view bytes)
{
    return WriteBackup(folder, name, functionKey, [bytes](const platform::WritePiece& write) { write(bytes); });
}

platform::Result<std::string, BackupFault> WriteBackup(const std::string& folder, const std::string& name,
                                                       int functionKey, const platform::NewFileContent& bytes)
{
    BackupName file{StampNow(), ShortenedName(NamePart(name, functionKey), platform::LongestNewFileName(folder)), 1};
    try {
        for (; file.copy <= kMaxCopies; ++file.copy) {
            const std::string path = util::JoinPath(folder, FormatBackupName(file));
            if (platform::CreateNewFile(path, bytes) == platform::NewFileResult::Created)
                return path;
        }
    } catch (const platform::CFileException& e) {
        return BackupFault{e.Path(), e.Cause()};
    }
    file.copy = 1;
    return BackupFault{util::JoinPath(folder, FormatBackupName(file)),
                       platform::Text(text::AllCopiesTaken, {std::to_string(kMaxCopies - 1)})};
}

platform::Result<std::vector<BackupFile>, BackupFault> ListBackups(const std::string& folder)
{
    std::vector<platform::FolderFile> files;
    try {
        files = platform::ListFiles(folder);
    } catch (const platform::CFileException& e) {
        return BackupFault{e.Path(), e.Cause()};
    }
    std::vector<BackupFile> backups;
    for (platform::FolderFile& file : files)
        if (std::optional<BackupName> name = ParseBackupName(file.name))
            backups.push_back({util::JoinPath(folder, file.name), std::move(file.name), std::move(*name), file.modified});
    std::sort(backups.begin(), backups.end(), [](const BackupFile& a, const BackupFile& b) {
        return std::tie(a.name.stamp, a.modified, a.name.copy, a.fileName) >
               std::tie(b.name.stamp, b.modified, b.name.copy, b.fileName);
    });
    return backups;
}

} // namespace backup
