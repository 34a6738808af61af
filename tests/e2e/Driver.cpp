#include "e2e/Driver.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace e2e {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';

// The programs on Windows work on the real registry unless they are given a
// file; cmd /c takes off the first and the last quote of the whole line.
std::string CommandLine(const std::string& program, const std::string& registry, const std::string& arguments,
                        const std::string& errors)
{
    return "\"" + Quote(program) + " --registry " + Quote(registry) + " " + arguments + " 2>" + Quote(errors) +
           "\"";
}

const char* const kNoInput = "NUL";

FILE* StartReading(const std::string& command)
{
    return ::_popen(command.c_str(), "rb");
}

int ExitStatus(FILE* pipe)
{
    return ::_pclose(pipe);
}
#else
constexpr char kSeparator = '/';

// The registry is the one beside the program, whatever the environment says.
std::string CommandLine(const std::string& program, const std::string&, const std::string& arguments,
                        const std::string& errors)
{
    return "TUNEWRIGHT_REGISTRY= " + Quote(program) + " " + arguments + " 2> " + Quote(errors);
}

const char* const kNoInput = "/dev/null";

FILE* StartReading(const std::string& command)
{
    return ::popen(command.c_str(), "r");
}

// 128 + N when signal N ended the driver.
int ExitStatus(FILE* pipe)
{
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}
#endif

} // namespace

#ifdef _WIN32
std::string Quote(const std::string& argument)
{
    return "\"" + argument + "\"";
}
#else
std::string Quote(const std::string& argument)
{
    return "'" + argument + "'";
}
#endif

// The copy is made under an ASCII name and then renamed with the byte-string
// name, so that no non-ASCII path passes through std::filesystem::path.
Installation::Installation(const std::string& name)
{
    std::random_device rd;
    base_ = fs::temp_directory_path() / ("tunewright-e2e-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(base_);
    fs::copy(fs::path(TW_SOURCE_DIR) / "data" / "sample", base_ / "sample", fs::copy_options::recursive);
    folder_ = base_.string() + kSeparator + name;
    if (std::rename((base_ / "sample").string().c_str(), folder_.c_str()) != 0)
        throw std::runtime_error("cannot name the installation folder " + folder_);
}

Installation::~Installation()
{
    std::error_code ec;
    fs::remove_all(base_, ec);
}

std::string Installation::File(const std::string& name) const
{
    return folder_ + kSeparator + name;
}

void Installation::Write(const std::string& name, const std::string& content) const
{
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Installation::Read(const std::string& name) const
{
    std::ifstream in(File(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

// Runs the command and gathers what it gave back; its standard error went to
// the file `errors`.
Outcome Gather(const std::string& command, const std::string& errors)
{
    FILE* pipe = StartReading(command);
    if (!pipe)
        throw std::runtime_error("cannot start " + command);
    std::string output;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        output.append(buf.data(), n);

    Outcome outcome;
    outcome.status = ExitStatus(pipe);
    std::ifstream in(errors, std::ios::binary);
    outcome.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::remove(errors.c_str());
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        outcome.lines.push_back(line);
    }
    outcome.output = std::move(output);
    return outcome;
}

} // namespace

Outcome Installation::RunExpectingComplaints(const std::string& script, const std::string& extraArgs) const
{
    Write(".script", script);
    const std::string command = CommandLine(TW_SCRIPT_BINARY, Registry(),
                                            "--app-folder " + Quote(folder_) + " " + extraArgs + " < " +
                                                Quote(File(".script")),
                                            File(".stderr"));
    Outcome outcome = Gather(command, File(".stderr"));
    std::remove(File(".script").c_str());
    return outcome;
}

Outcome Installation::RunCli(const std::string& arguments, const std::string& prefix,
                             const std::string& program) const
{
    const std::string command =
        prefix + CommandLine(program, Registry(),
                             "--app-folder " + Quote(folder_) + " " + arguments + " < " + kNoInput, File(".stderr"));
    return Gather(command, File(".stderr"));
}

std::vector<std::string> Installation::Run(const std::string& script, const std::string& extraArgs) const
{
    Outcome outcome = RunExpectingComplaints(script, extraArgs);
    const auto complaints = Grep(outcome.lines, "ignored \"");
    const auto bad = Grep(outcome.lines, "bad command \"");
    if (outcome.status != 0 || !outcome.errors.empty() || !complaints.empty() || !bad.empty())
        throw std::runtime_error("tunewright-script exited with " + std::to_string(outcome.status) + " on:\n" +
                                 script + "--- its output:\n" + Join(outcome.lines) + "--- its errors:\n" +
                                 outcome.errors);
    return std::move(outcome.lines);
}

std::vector<std::string> Grep(const std::vector<std::string>& lines, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const auto& l : lines)
        if (l.rfind(prefix, 0) == 0)
            out.push_back(l);
    return out;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    for (const auto& l : lines)
        if (l == line)
            return true;
    return false;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& l : lines)
        out += l + "\n";
    return out;
}

} // namespace e2e
