// The property of undo on the Windows registry, below a key of the test's own.
#include "unit/CliUndoProperty.h"
#include "unit/win32/ScratchKey.h"

#include "platform/win32/Win32Registry.h"

TEST(CommandLineUndo, HundredsOfRandomSetsUndoneLeaveEveryValueAndKeyAsItWas)
{
    const ScratchKey scratch;
    platform::Win32Registry registry;
    undo_property::Run run(registry, scratch.SubKey(), FastFolder());
    run.Check(300, 20241208);
}
