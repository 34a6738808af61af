// The shell's "open" on Windows says when no program could be started for a
// target, in the system's words, so that the program can tell the user
// instead of nothing happening (a new Wine prefix has no program for .reg).
#include "unit/TempAppFolder.h"

#include "platform/win32/Win32Services.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(Win32Shell, ATargetNoProgramOpensIsAFailureInTheSystemsWords)
{
    TempAppFolder app;
    app.Write("backup.tunewright-none", "REGEDIT4");
    platform::ShellExecuteShell shell;
    for (const std::string& target : {app.Path("backup.tunewright-none"), app.Path("missing.txt")}) {
        SCOPED_TRACE(target);
        const platform::ShellResult opened = shell.Open(target);
        ASSERT_FALSE(opened);
        EXPECT_FALSE(opened.Error().empty());
        EXPECT_FALSE(opened.Error().ends_with('.')) << opened.Error();
        const platform::ShellStarted followed = shell.OpenFollowed(target);
        ASSERT_FALSE(followed);
        EXPECT_EQ(followed.Error(), opened.Error());
    }
}

// The program started for a target is followed until it ends, without
// waiting for it: the window reads the registry again when the registry
// editor is done.
TEST(Win32Shell, TheProgramStartedForATargetIsFollowedUntilItEnds)
{
    TempAppFolder app;
    app.Write("done.bat", "@exit\r\n");
    platform::ShellExecuteShell shell;
    platform::ShellStarted started = shell.OpenFollowed(app.Path("done.bat"));
    ASSERT_TRUE(started) << started.Error();
    ASSERT_TRUE(started.Value());
    bool ended = false;
    for (int i = 0; i < 200 && !ended; ++i) {
        ended = started.Value()->HasEnded();
        if (!ended)
            ::Sleep(50);
    }
    EXPECT_TRUE(ended);
}
