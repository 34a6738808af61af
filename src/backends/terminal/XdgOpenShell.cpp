#include "backends/terminal/XdgOpenShell.h"

#include "backends/terminal/Texts.h"
#include "toolkit/Dialog.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace backends::terminal {

std::optional<std::string> FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t colon = dirs.find(':', start);
        if (colon == std::string::npos)
            colon = dirs.size();
        std::string dir = dirs.substr(start, colon - start);
        if (dir.empty())
            dir = ".";
        const std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = colon + 1;
    }
    return std::nullopt;
}

platform::ShellResult XdgOpenShell::Open(const std::string& target)
{
    const std::optional<std::string> program = FindProgram("xdg-open");
    if (!program)
        return platform::Text(text::NoXdgOpen, {toolkit::AppTitle()});
    // Everything the child needs is prepared before fork, so that the child
    // only calls what is safe between fork and exec.
    const char* argv[] = {"xdg-open", target.c_str(), nullptr};
    const pid_t child = ::fork();
    if (child < 0)
        return platform::Text(text::NoNewProcess);
    if (child == 0) {
        // A grandchild in its own session: it outlives us, never touches our
        // terminal, and init reaps it.
        ::setsid();
        if (::fork() != 0)
            ::_exit(0);
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, STDIN_FILENO);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            if (null > STDERR_FILENO)
                ::close(null);
        }
        ::execv(program->c_str(), const_cast<char* const*>(argv));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return {};
}

} // namespace backends::terminal
