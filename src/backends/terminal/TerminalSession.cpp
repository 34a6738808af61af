#include "backends/terminal/TerminalSession.h"

#include "backends/terminal/Texts.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace backends::terminal {

namespace {

// Alternate screen on, cursor hidden, no automatic wrap at the right margin
// (so that drawing the last cell of the screen never scrolls it).
constexpr char kEnter[] = "\x1b[?1049h\x1b[?25l\x1b[?7l\x1b[0m\x1b[2J";
constexpr char kLeave[] = "\x1b[0m\x1b[?7h\x1b[?25h\x1b[?1049l";

// The signals that end the program, the crashes among them: each gives the
// terminal back before the program dies of it.
constexpr std::array<int, 9> kFatalSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV,
                                              SIGABRT, SIGBUS, SIGFPE, SIGILL};
// The handlers' own stack, so that a stack overflow can still be handled.
constexpr std::size_t kSignalStackSize = 64 * 1024;

// Everything the signal handlers touch lives here, in plain types.
struct termios g_saved;
volatile std::sig_atomic_t g_active = 0;
volatile std::sig_atomic_t g_resized = 0;
int g_wakeRead = -1;
int g_wakeWrite = -1;
std::terminate_handler g_previousTerminate = nullptr;
struct sigaction g_previousActions[kFatalSignals.size()];
struct sigaction g_previousWinch;
struct sigaction g_previousStop;
struct termios g_raw;
std::vector<char> g_signalStack;
stack_t g_previousSignalStack;

// Async-signal-safe: memset and sigaction only.
void Install(int sig, void (*handler)(int), int flags, struct sigaction* previous)
{
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = flags;
    ::sigaction(sig, &sa, previous);
}

void WriteAll(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

// Async-signal-safe: write and tcsetattr only.
void RestoreTerminal()
{
    if (!g_active)
        return;
    g_active = 0;
    WriteAll(kLeave, sizeof kLeave - 1);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
}

void WakeUp();

void OnFatalSignal(int sig)
{
    const int saved = errno;
    RestoreTerminal();
    // SA_RESETHAND has put the default action back; the signal is blocked
    // until this handler returns and then ends the program as it would have.
    // A fault of the program itself would come again anyway when the faulting
    // instruction runs once more.
    ::raise(sig);
    errno = saved;
}

// Runs the handlers on a stack of their own unless someone (a sanitizer, a
// debugger's helper) has given them one already.
void InstallSignalStack()
{
    g_previousSignalStack = {};
    g_previousSignalStack.ss_flags = SS_DISABLE;
    if (::sigaltstack(nullptr, &g_previousSignalStack) == 0 && !(g_previousSignalStack.ss_flags & SS_DISABLE))
        return;
    g_signalStack.resize(std::max<std::size_t>(kSignalStackSize, SIGSTKSZ));
    stack_t own = {};
    own.ss_sp = g_signalStack.data();
    own.ss_size = g_signalStack.size();
    ::sigaltstack(&own, nullptr);
}

void UninstallSignalStack()
{
    if (!(g_previousSignalStack.ss_flags & SS_DISABLE))
        return;
    stack_t off = {};
    off.ss_flags = SS_DISABLE;
    ::sigaltstack(&off, nullptr);
}

void OnResize(int)
{
    const int saved = errno;
    g_resized = 1;
    WakeUp();
    errno = saved;
}

void WakeUp()
{
    if (g_wakeWrite >= 0) {
        const char b = 0;
        [[maybe_unused]] const ssize_t ignored = ::write(g_wakeWrite, &b, 1);
    }
}

// A stop from outside (kill -TSTP; Ctrl+Z reaches us as a key) hands the
// shell a sane terminal, and the program takes it back when it continues.
void OnStop(int sig)
{
    const int saved = errno;
    const bool wasActive = g_active;
    RestoreTerminal();

    Install(sig, SIG_DFL, 0, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, sig);
    ::sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    ::raise(sig); // stops here until SIGCONT

    Install(sig, OnStop, SA_RESTART, nullptr);
    if (wasActive && ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_raw) == 0) {
        g_active = 1;
        WriteAll(kEnter, sizeof kEnter - 1);
        g_resized = 1; // everything must be drawn again
        WakeUp();
    }
    errno = saved;
}

void RestoreAtExit()
{
    RestoreTerminal();
}

void RestoreAndTerminate()
{
    RestoreTerminal();
    if (g_previousTerminate)
        g_previousTerminate();
    std::abort();
}

} // namespace

bool TerminalSession::Available()
{
    return ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO);
}

TerminalSession::TerminalSession()
{
    if (!Available())
        throw platform::CException(platform::Text(text::NotATerminal));
    if (::tcgetattr(STDIN_FILENO, &g_saved) != 0)
        throw platform::CException(platform::Text(text::TerminalUnusable, {std::strerror(errno)}));
    int fds[2];
    if (::pipe(fds) != 0)
        throw platform::CException(platform::Text(text::TerminalUnusable, {std::strerror(errno)}));
    for (int fd : fds) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    g_wakeRead = fds[0];
    g_wakeWrite = fds[1];

    static bool exitHooks = false;
    if (!exitHooks) {
        std::atexit(RestoreAtExit);
        exitHooks = true;
    }
    g_previousTerminate = std::set_terminate(RestoreAndTerminate);
    InstallSignalStack();
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i)
        Install(kFatalSignals[i], OnFatalSignal, SA_RESETHAND | SA_ONSTACK, &g_previousActions[i]);
    Install(SIGWINCH, OnResize, SA_RESTART, &g_previousWinch);
    Install(SIGTSTP, OnStop, SA_RESTART, &g_previousStop);

    struct termios raw = g_saved;
    raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    g_raw = raw;
    g_active = 1;
    if (::tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) != 0) {
        const std::string cause = std::strerror(errno);
        g_active = 0;
        Uninstall();
        throw platform::CException(platform::Text(text::TerminalUnusable, {cause}));
    }
    WriteAll(kEnter, sizeof kEnter - 1);
}

TerminalSession::~TerminalSession()
{
    RestoreTerminal();
    Uninstall();
}

void TerminalSession::Uninstall()
{
    for (std::size_t i = 0; i < kFatalSignals.size(); ++i)
        ::sigaction(kFatalSignals[i], &g_previousActions[i], nullptr);
    ::sigaction(SIGWINCH, &g_previousWinch, nullptr);
    ::sigaction(SIGTSTP, &g_previousStop, nullptr);
    UninstallSignalStack();
    std::set_terminate(g_previousTerminate);
    ::close(g_wakeRead);
    ::close(g_wakeWrite);
    g_wakeRead = g_wakeWrite = -1;
}

void TerminalSession::Size(int& cols, int& rows) const
{
    struct winsize ws;
    std::memset(&ws, 0, sizeof ws);
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        cols = ws.ws_col;
        rows = ws.ws_row;
    } else {
        cols = 80;
        rows = 24;
    }
}

void TerminalSession::Write(std::string_view bytes)
{
    WriteAll(bytes.data(), bytes.size());
}

ITerminal::Input TerminalSession::Wait(int timeoutMs)
{
    Input in;
    struct pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {g_wakeRead, POLLIN, 0}};
    const int n = ::poll(fds, 2, timeoutMs < 0 ? 0 : timeoutMs);
    if (n > 0 && (fds[1].revents & POLLIN)) {
        char drain[64];
        while (::read(g_wakeRead, drain, sizeof drain) > 0) {
        }
    }
    if (n > 0 && (fds[0].revents & POLLIN)) {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got > 0)
            in.bytes.assign(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || (errno != EINTR && errno != EAGAIN))
            in.closed = true;
    } else if (n > 0 && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))) {
        in.closed = true;
    }
    if (g_resized) {
        g_resized = 0;
        in.resized = true;
    }
    return in;
}

} // namespace backends::terminal
