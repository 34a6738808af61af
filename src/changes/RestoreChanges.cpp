#include "changes/RestoreChanges.h"

#include "backup/Stamp.h"
#include "changes/BackupHistory.h"
#include "platform/CaseFold.h"

#include <string_view>

namespace changes {

namespace {

// "name.reg" without ".reg", in any letter case.
std::string WithoutRegExtension(const std::string& fileName)
{
    constexpr std::string_view kExtension = ".reg";
    return platform::HasExtensionNoCase(fileName, kExtension) ? fileName.substr(0, fileName.size() - kExtension.size())
                                                        : fileName;
}

// The name a backup was written under, or its file name without ".reg".
std::string BackupNameOf(const std::string& backupFileName)
{
    const std::optional<backup::BackupName> name = backup::ParseBackupName(backupFileName);
    return name ? name->name : WithoutRegExtension(backupFileName);
}

} // namespace

platform::Result<ChangeSet, BackupReadFault> RestoreChanges(const std::string& path)
{
    ChangeSetReader reader(true, path);
    if (const auto read = ReadRegistryFileInto(path, reader); !read)
        return BackupReadFault{path, read.Error()};
    auto changes = reader.Take();
    if (!changes)
        return BackupReadFault{path, changes.Error()};
    return std::move(changes.Value());
}

platform::Result<ChangeSet, BackupReadFault> UndoBackupChanges(const std::vector<backup::BackupFile>& newestFirst)
{
    std::vector<ChangeSet> undone;
    for (const backup::BackupFile& file : newestFirst) {
        auto changes = RestoreChanges(file.path);
        if (!changes)
            return changes.Error();
        undone.push_back(std::move(changes.Value()));
    }
    return UndoChanges(std::move(undone));
}

std::string RestoreChangeName(const std::string& backupFileName)
{
    return "restore " + BackupNameOf(backupFileName);
}

std::string ReverseChangeName(const std::string& backupFileName)
{
    return "reverse " + BackupNameOf(backupFileName);
}

std::string UndoChangeName(const std::string& sinceStamp)
{
    return "undo since " + backup::StampNameText(sinceStamp);
}

std::string ProfileChangeName(const std::string& profileFileName)
{
    return "profile " + WithoutRegExtension(profileFileName);
}

} // namespace changes
