#pragma once
// tunewright-cli: the functions of an installation from a command line, over
// the same catalogue, translation, registry layer and saving as the window.
#include "platform/Registry.h"

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

// The exit statuses.
inline constexpr int kDone = 0;        // done, or nothing to change
inline constexpr int kFailed = 1;      // the message names the file or the function
inline constexpr int kBadUsage = 2;    // a wrong command line
inline constexpr int kWouldChange = 3; // apply --check found something to change

// What the program runs in: where it lies, how it gets the registry of a run
// (from the --registry option and the installation folder; throws
// platform::CException when that registry cannot be used), and its output.
struct Host {
    std::string programFolder;
    std::function<platform::IRegistry&(const std::string& registryFile, const std::string& applicationFolder)> openRegistry;
    std::ostream& out;
    std::ostream& err;
    // The file the registry of a run lies in, which must exist (none: the
    // system's registry); no function: any registry is there.
    std::function<std::optional<std::string>(const std::string& registryFile, const std::string& applicationFolder)>
        registryFile = {};
    // apply - reads the profile from here.
    std::istream* in = nullptr;
};

// Runs one command line, the arguments without the program's name, and gives
// the exit status.
int RunCommandLine(const std::vector<std::string>& args, const Host& host);

} // namespace cli
