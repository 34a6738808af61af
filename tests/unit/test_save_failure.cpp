// A write that the registry refuses after the backup: one message, naming the
// value, the cause in the registry's words and the backup that holds the
// value from before.
#include "unit/TempAppFolder.h"

#include "catalogue/FunctionKind.h"
#include "regfile/RegistryTree.h"
#include "saving/Saving.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace saving;
using namespace util;
using namespace catalogue;

namespace {

// The in-memory registry, refusing every change with one fault.
class RefusingRegistry final : public platform::IRegistry {
public:
    explicit RefusingRegistry(platform::RegFault fault) : fault_(std::move(fault)) {}

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(platform::RegRoot root, std::string_view subKey,
                                                                        std::string_view name) override
    {
        return tree_.QueryValue(root, subKey, name);
    }
    platform::RegResult SetValue(platform::RegRoot, std::string_view, std::string_view, const platform::RegValue&) override
    {
        return fault_;
    }
    platform::RegResult DeleteValue(platform::RegRoot, std::string_view, std::string_view) override { return fault_; }
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(platform::RegRoot, std::string_view) override { return fault_; }

private:
    regfile::RegistryTree tree_;
    platform::RegFault fault_;
};

} // namespace

TEST(SaveFailure, TheMessageNamesTheCauseAndTheBackup)
{
    struct Case {
        platform::RegFault fault;
        const char* cause;
    };
    const Case cases[] = {
        {platform::RegFault(platform::RegError::WriteFailed, "the registry store \"C:\\r.reg\" is read-only"),
         "the registry store \"C:\\r.reg\" is read-only"},
        {platform::RegFault(platform::RegError::AccessDenied), "access is denied"},
        {platform::RegFault(platform::RegError::StoreBroken), "the registry cannot be used"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cause);
        RefusingRegistry registry(c.fault);
        platform::FixedClock clock(platform::LocalTime{2024, 3, 5, 9, 5});
        TempAppFolder folder(&registry, &clock);
        std::filesystem::create_directory(folder.Folder() / "backup");
        PowerClass power;
        const SaveRequest request{*FindKind(2), "HKEY_CURRENT_USER\\\\Control Panel\\\\Desktop", "MenuShowDelay",
                                  PanelInput{-1, "400", "", 0, 1000}, "Menu delay", 10000,
                                  power.GetApplicationFolder()};

        const SaveOutcome outcome = SaveNewValue(request, power);
        EXPECT_EQ(outcome.result, SaveResult::NotWritten);
        EXPECT_EQ(outcome.message, "The value \"MenuShowDelay\" of the key \"HKEY_CURRENT_USER\\Control Panel\\Desktop\" "
                                   "could not be written: " + std::string(c.cause) +
                                       ". Nothing was written; the backup \"" + outcome.backupPath +
                                       "\" holds the value from before.");
        EXPECT_TRUE(std::filesystem::exists(outcome.backupPath));
    }
}
