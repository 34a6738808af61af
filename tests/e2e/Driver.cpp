#include "e2e/Driver.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include <sys/wait.h>

namespace e2e {

namespace fs = std::filesystem;

Installation::Installation()
{
    std::random_device rd;
    folder_ = fs::temp_directory_path() / ("tunewright-e2e-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(folder_);
    fs::copy(fs::path(TW_SOURCE_DIR) / "data" / "sample", folder_, fs::copy_options::recursive);
}

Installation::~Installation()
{
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

void Installation::Write(const std::string& name, const std::string& content) const
{
    std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Installation::Read(const std::string& name) const
{
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Outcome Installation::RunExpectingComplaints(const std::string& script, const std::string& extraArgs) const
{
    const fs::path input = folder_ / ".script";
    const fs::path errors = folder_ / ".stderr";
    Write(input.filename().string(), script);
    const std::string command = std::string("TUNEWRIGHT_REGISTRY= '") + TW_SCRIPT_BINARY + "' --app-folder '" +
                                folder_.string() + "' " + extraArgs + " < '" + input.string() + "' 2> '" +
                                errors.string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot start " + command);
    std::string output;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        output.append(buf.data(), n);
    const int status = ::pclose(pipe);

    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    outcome.errors = Read(errors.filename().string());
    fs::remove(input);
    fs::remove(errors);
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        outcome.lines.push_back(line);
    return outcome;
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
