// A change that the store refuses for what it is, whatever the backup holds,
// is refused before the backup is written: each retry used to leave another
// backup of values that never changed.
#include "unit/TempAppFolder.h"

#include "catalogue/FunctionKind.h"
#include "changes/CarryOut.h"
#include "regstore/RegistryStore.h"
#include "saving/Saving.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace saving;
using namespace util;
using namespace changes;
using namespace catalogue;

TEST(RefusedBeforeBackup, NeitherSaveNorAChangeOfManyValuesLeavesABackup)
{
    const struct {
        const char* what;
        const char* store;     // in the application folder
        std::size_t maxBytes;  // the largest store it may read
        const char* cause;     // a part of the message
    } cases[] = {
        {"no folder for the store", "missing/registry.reg", regfile::kMaxRegStoreBytes, "could not be changed"},
        {"a store that would grow past what it may read", "registry.reg", 64, "larger than"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::FixedClock clock(platform::LocalTime{2024, 3, 5, 9, 5});
        TempAppFolder app(nullptr, &clock);
        regstore::RegistryStore store(app.Path(c.store), c.maxBytes);
        const platform::ScopedServices services({&store, nullptr, &clock, app.Path("tunewright")});
        std::filesystem::create_directory(app.Path("backup"));

        PowerClass power;
        const SaveRequest request{*FindKind(2), "HKEY_CURRENT_USER\\\\Control Panel\\\\Desktop", "MenuShowDelay",
                                  PanelInput{-1, "400", "", 0, 1000}, "Menu delay", 10000, app.Folder().string()};
        const SaveOutcome saved = SaveNewValue(request, power);
        EXPECT_EQ(saved.result, SaveResult::NotWritten);
        EXPECT_NE(saved.message.find(c.cause), std::string::npos) << saved.message;

        const ChangeSet changes{{{platform::ShareKey({platform::RegRoot::CurrentUser, "A"}), "x", platform::RegValue::String(std::string(100, 'x'))}},
                                {}};
        const auto done = CarryOutChanges(store, changes, app.Path("backup"), "profile p", false);
        ASSERT_FALSE(done);
        const auto* refused = std::get_if<ChangeNotApplied>(&done.Error());
        ASSERT_NE(refused, nullptr);
        EXPECT_FALSE(refused->backupPath);
        EXPECT_NE(refused->fault.cause.find(c.cause), std::string::npos) << refused->fault.cause;

        EXPECT_TRUE(app.Entries("backup").empty());
    }
}
