#include "e2e/Driver.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

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

std::vector<std::string> Installation::Run(const std::string& script, const std::string& extraArgs) const
{
    const fs::path input = folder_ / ".script";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out << script;
    }
    const std::string command = std::string("TUNEWRIGHT_REGISTRY= '") + TW_SCRIPT_BINARY + "' --app-folder '" +
                                folder_.string() + "' " + extraArgs + " < '" + input.string() + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot start " + command);
    std::string output;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0)
        output.append(buf.data(), n);
    const int status = ::pclose(pipe);
    if (status != 0)
        throw std::runtime_error("tunewright-script failed (status " + std::to_string(status) + ") on:\n" + script);
    fs::remove(input);

    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
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
