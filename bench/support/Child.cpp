#include "support/Child.h"

#include "support/Installation.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

namespace {

std::string SelfPath()
{
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        throw std::runtime_error("cannot find the benchmark program's own file");
    return std::string(buffer, static_cast<std::size_t>(n));
}

// Forks and runs `argv` with `stdinFile` as standard input and the output
// thrown away; returns the child's id.
pid_t Start(const std::string& stdinFile, const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error(std::string("cannot fork: ") + std::strerror(errno));
    if (child == 0) {
        const int in = ::open(stdinFile.c_str(), O_RDONLY);
        const int out = ::open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0)
            ::_exit(126);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    return child;
}

rusage Wait(pid_t child, const std::string& program)
{
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0)
        if (errno != EINTR)
            throw std::runtime_error("cannot wait for " + program);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(program + " failed");
    return usage;
}

} // namespace

std::uint64_t PeakResidentBytes(const std::string& stdinFile, const std::vector<std::string>& argv)
{
    std::string command = "'" + SelfPath() + "' --peak-of '" + stdinFile + "'";
    for (const std::string& arg : argv)
        command += " '" + arg + "'";
    FILE* helper = ::popen(command.c_str(), "r");
    if (helper == nullptr)
        throw std::runtime_error("cannot start " + command);
    unsigned long long kilobytes = 0;
    const int read = std::fscanf(helper, "%llu", &kilobytes);
    if (::pclose(helper) != 0 || read != 1)
        throw std::runtime_error("cannot measure " + command);
    return kilobytes * 1024;
}

double RunSeconds(const std::string& stdinFile, const std::vector<std::string>& argv)
{
    const auto start = std::chrono::steady_clock::now();
    Wait(Start(stdinFile, argv), argv.front());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::vector<std::string> HoldFilesCommand(const std::vector<std::string>& files)
{
    std::vector<std::string> argv{SelfPath(), "--hold-files"};
    argv.insert(argv.end(), files.begin(), files.end());
    return argv;
}

// The helper's side of "--peak-of STDIN PROGRAM ARGS...": forked from this
// small process, the program's peak is its own. Prints kilobytes.
int PeakOfMain(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const std::vector<std::string> command(argv + 3, argv + argc);
    try {
        const rusage usage = Wait(Start(argv[2], command), command.front());
        std::printf("%ld\n", usage.ru_maxrss);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

int HoldFilesMain(int argc, char** argv)
{
    try {
        std::vector<std::string> contents;
        for (int i = 2; i < argc; ++i)
            contents.push_back(ReadBytes(argv[i]));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace bench
