// A crash in full-screen mode gives the terminal back: a child process takes
// a pseudo-terminal into a session and crashes; the terminal must have been
// told to leave the alternate screen and show the cursor, its settings must
// be back, and the child must still have died of the signal.
#include "backends/terminal/TerminalSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Deep enough to overflow any stack; the flag keeps the compiler from
// seeing an endless recursion.
volatile bool g_deeper = true;
int Overflow(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return g_deeper ? Overflow(depth + 1) + frame[0] : 0;
}

[[noreturn]] void CrashInSession(int slave, int sig)
{
    ::prctl(PR_SET_DUMPABLE, 0); // no core file
    ::alarm(10);                 // a hang fails the test instead of blocking it
    ::dup2(slave, STDIN_FILENO);
    ::dup2(slave, STDOUT_FILENO);
    backends::terminal::TerminalSession session;
    if (sig == 0)
        Overflow(0);
    else
        ::raise(sig);
    ::_exit(0);
}

TEST(TerminalSession, ACrashGivesTheTerminalBackAndStillEndsTheProgram)
{
    // 0: a real stack overflow, which needs the handler's own stack.
    for (const int sig : {0, SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(slave, 0);

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            CrashInSession(slave, sig);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        std::string shown;
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        char buffer[256];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            shown.append(buffer, static_cast<std::size_t>(n));
        struct termios after;
        ASSERT_EQ(::tcgetattr(slave, &after), 0);
        ::close(slave);
        ::close(master);

        const int expected = sig == 0 ? SIGSEGV : sig;
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == expected) << "signal " << sig << ", status " << status;
        const auto entered = shown.find("\x1b[?1049h");
        ASSERT_NE(entered, std::string::npos) << "signal " << sig;
        EXPECT_NE(shown.find("\x1b[?25h\x1b[?1049l", entered), std::string::npos) << "signal " << sig;
        EXPECT_TRUE((after.c_lflag & ICANON) && (after.c_lflag & ECHO)) << "signal " << sig;
    }
}

} // namespace
