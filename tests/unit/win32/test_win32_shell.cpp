// The shell's "open" on Windows says when no program could be started for a
// target, in the system's words, so that the program can tell the user
// instead of nothing happening (a new Wine prefix has no program for .reg).
#include "unit/TempAppFolder.h"

#include "platform/win32/Win32Services.h"

#include <gtest/gtest.h>

TEST(Win32Shell, ATargetNoProgramOpensIsAFailureInTheSystemsWords)
{
    TempAppFolder app;
    app.Write("backup.tunewright-none", "REGEDIT4");
    tk::ShellExecuteShell shell;
    for (const std::string& target : {app.Path("backup.tunewright-none"), app.Path("missing.txt")}) {
        SCOPED_TRACE(target);
        const tk::ShellResult opened = shell.Open(target);
        ASSERT_FALSE(opened);
        EXPECT_FALSE(opened.Error().empty());
        EXPECT_FALSE(opened.Error().ends_with('.')) << opened.Error();
    }
}
