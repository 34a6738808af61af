#include "changes/RestoreChanges.h"

#include "changes/BackupHistory.h"
#include "platform/CaseFold.h"

#include <string_view>

namespace {

// "name.reg" without ".reg", in any letter case.
std::string WithoutRegExtension(const std::string& fileName)
{
    constexpr std::string_view kExtension = ".reg";
    return tk::HasExtensionNoCase(fileName, kExtension) ? fileName.substr(0, fileName.size() - kExtension.size())
                                                        : fileName;
}

} // namespace

tk::Result<ChangeSet, BackupFault> RestoreChanges(const std::string& path)
{
    auto document = ReadRegistryFile(path);
    if (!document)
        return BackupFault{path, document.Error()};
    auto changes = BackupChanges(document.Value());
    if (!changes)
        return BackupFault{path, changes.Error()};
    return std::move(changes.Value());
}

tk::Result<ChangeSet, BackupFault> UndoBackupChanges(const std::vector<BackupFile>& newestFirst)
{
    std::vector<ChangeSet> undone;
    for (const BackupFile& backup : newestFirst) {
        auto changes = RestoreChanges(backup.path);
        if (!changes)
            return changes.Error();
        undone.push_back(std::move(changes.Value()));
    }
    return UndoChanges(undone);
}

std::string RestoreChangeName(const std::string& backupFileName)
{
    const std::optional<BackupName> name = ParseBackupName(backupFileName);
    return "restore " + (name ? name->name : WithoutRegExtension(backupFileName));
}

std::string UndoChangeName(const std::string& sinceStamp)
{
    return "undo since " + sinceStamp.substr(0, 8) + " " + sinceStamp.substr(8, 2) + "." + sinceStamp.substr(10, 2);
}

std::string ProfileChangeName(const std::string& profileFileName)
{
    return "profile " + WithoutRegExtension(profileFileName);
}
