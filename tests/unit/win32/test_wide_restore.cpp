// The program's own Unicode backups restored and undone into the real
// registry: text beyond the code page lands exactly, is read back exactly for
// the change's own backup, and is put back exactly when a change fails.
#include "unit/TempAppFolder.h"
#include "unit/Utf16Bytes.h"
#include "unit/win32/ScratchKey.h"
#include "unit/win32/WideValue.h"

#include "backup/BackupBytes.h"
#include "backup/BackupFolder.h"
#include "changes/CarryOut.h"
#include "changes/RestoreChanges.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Registry.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace saving;
using namespace changes;

namespace {

} // namespace

TEST(WideRestore, AUnicodeBackupRestoresAndUndoesExactlyAndSecondTimeChangesNothing)
{
    const WideValue texts[] = {
        {REG_SZ, Utf16Bytes(u"\u0141\u00F3d\u017A \u03A9mega")},
        {REG_EXPAND_SZ, Utf16Bytes(u"%TEMP%\\\u0141\u00F3d\u017A")},
        {REG_MULTI_SZ, Utf16Bytes(std::u16string_view(u"\u03A9mega\0x\0", 8))},
    };
    const WideValue old{REG_SZ, Utf16Bytes(u"old")};
    const ScratchKey scratch;
    const platform::RegKeyPath key{platform::RegRoot::CurrentUser, scratch.SubKey()};
    platform::Win32Registry registry;
    TempAppFolder folder(&registry);
    const std::string backups = folder.Path("backup");
    for (const WideValue& text : texts) {
        for (const bool undo : {false, true}) {
            SCOPED_TRACE(std::to_string(text.type) + (undo ? " undo" : " restore"));
            std::filesystem::remove_all(backups);
            std::filesystem::create_directory(backups);
            SetWide(scratch.SubKey(), L"V", old);
            const platform::ExactRegValue held{{static_cast<platform::RegType>(text.type), text.bytes}, true};
            const auto written = backup::WriteBackup(
                backups, "V", 0, backup::FileBytes({{platform::ShareKey(key), "V", held, {}}}, {}, backup::Layout::OneValue));
            ASSERT_TRUE(written);
            const auto listed = backup::ListBackups(backups);
            ASSERT_TRUE(listed);
            const auto changes = undo ? UndoBackupChanges(listed.Value()) : RestoreChanges(written.Value());
            ASSERT_TRUE(changes);

            const auto done = CarryOutChanges(registry, changes.Value(), backups, "restore V", false);
            ASSERT_TRUE(done);
            EXPECT_EQ(GetWide(scratch.SubKey(), L"V"), text);
            ASSERT_TRUE(done.Value().backupPath);
            const platform::ExactRegValue* replaced = done.Value().plan.values.at(0).Held();
            ASSERT_TRUE(replaced);
            EXPECT_EQ(replaced->value, platform::RegValue::String("old"));

            // Restoring what the registry already holds changes nothing and
            // leaves no backup.
            const auto again = CarryOutChanges(registry, changes.Value(), backups, "restore V", false);
            ASSERT_TRUE(again);
            EXPECT_FALSE(again.Value().backupPath);
        }
    }
}

// A change that fails part way puts back what it had replaced, a text beyond
// the code page as it was.
TEST(WideRestore, AFailedChangePutsBackAWideTextExactly)
{
    const ScratchKey scratch;
    const WideValue before{REG_SZ, Utf16Bytes(u"\u0141\u00F3d\u017A \u03A9mega")};
    SetWide(scratch.SubKey(), L"V", before);
    platform::Win32Registry registry;
    const std::vector<platform::RegValueChange> values = {
        {platform::ShareKey({platform::RegRoot::CurrentUser, scratch.SubKey()}), "V", platform::RegValue::String("x")},
        {platform::ShareKey({platform::RegRoot::CurrentUser, "\\names no key"}), "V", platform::RegValue::String("x")},
    };
    EXPECT_FALSE(registry.ApplyChanges(values, {}));
    EXPECT_EQ(GetWide(scratch.SubKey(), L"V"), before);
}
