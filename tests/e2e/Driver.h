#pragma once
// Runs tunewright-script against a throw-away installation and returns what
// it printed: the end-to-end tests see the program as a user would.
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

class Installation {
public:
    // A fresh copy of the sample installation in a temporary folder.
    Installation();
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    std::filesystem::path File(const std::string& name) const { return folder_ / name; }
    std::filesystem::path Registry() const { return folder_ / "registry.reg"; }

    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

    // Runs the driver with `script` on standard input; returns its standard
    // output split into lines.
    std::vector<std::string> Run(const std::string& script, const std::string& extraArgs = "") const;

private:
    std::filesystem::path folder_;
};

// Lines that start with `prefix`.
std::vector<std::string> Grep(const std::vector<std::string>& lines, const std::string& prefix);
bool Contains(const std::vector<std::string>& lines, const std::string& line);
std::string Join(const std::vector<std::string>& lines);

} // namespace e2e
