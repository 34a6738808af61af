// The property of undo on the Linux store: thousands of random sequences.
#include "unit/CliUndoProperty.h"

#include "regstore/RegistryStore.h"

TEST(CommandLineUndo, ThousandsOfRandomSetsUndoneLeaveEveryValueAndKeyAsItWas)
{
    TempAppFolder storeFolder(nullptr, nullptr, FastFolder());
    regstore::RegistryStore store(storeFolder.Path("registry.reg"));
    undo_property::Run run(store, "Software\\CliUndo", FastFolder());
    run.Check(2000, 20241208);
}
