#pragma once
// Runs tunewright-script against a throw-away installation and returns what
// it printed: the end-to-end tests see the program as a user would.
//
// Paths are byte strings in the system code page, as the program sees them:
// an installation may lie in a folder with a non-ASCII name.
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

// Everything one run of the driver gave back.
struct Outcome {
    std::vector<std::string> lines; // standard output, one event a line, without its line end
    std::string errors;             // standard error
    int status = 0;                 // exit status; 128 + N when signal N ended it
    std::string output;             // standard output as it came
};

class Installation {
public:
    // A fresh copy of the sample installation in a folder named `name` (bytes
    // in the system code page) inside a new temporary folder.
    explicit Installation(const std::string& name = "installation");
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string File(const std::string& name) const;
    std::string Registry() const { return File("registry.reg"); }

    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

    // Runs the driver with `script` on standard input; returns its standard
    // output split into lines. Throws, failing the test, when the driver
    // ignored an action or refused a command, wrote to standard error or did
    // not exit with 0: a script that did not do what it says tests nothing.
    // The registry is the installation's registry.reg unless `extraArgs`
    // names another (see Quote).
    std::vector<std::string> Run(const std::string& script, const std::string& extraArgs = "") const;
    // The same run for a test that expects the driver to complain: nothing is
    // checked.
    Outcome RunExpectingComplaints(const std::string& script, const std::string& extraArgs = "") const;

    // Runs tunewright-cli on this installation with `arguments` (quoted with
    // Quote where needed) and nothing on standard input; its registry is the
    // one the driver's runs have. Nothing is checked. `prefix` goes before
    // the program on the command line (a POSIX test may run it as another
    // user, and then a copy of the program that such a user can reach).
    Outcome RunCli(const std::string& arguments, const std::string& prefix = "",
                   const std::string& program = TW_CLI_BINARY) const;

private:
    std::filesystem::path base_;
    std::string folder_;
};

// A path or argument quoted for the command line that Run builds.
std::string Quote(const std::string& argument);

// Lines that start with `prefix`.
std::vector<std::string> Grep(const std::vector<std::string>& lines, const std::string& prefix);
bool Contains(const std::vector<std::string>& lines, const std::string& line);
std::string Join(const std::vector<std::string>& lines);

} // namespace e2e
