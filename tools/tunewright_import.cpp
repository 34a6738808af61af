// tunewright-import: the registry importer of a Linux installation, as the
// registry editor imports a .reg file on Windows. It asks first (/s: it does
// not), then applies the whole file to the registry store as one change. The
// store is $TUNEWRIGHT_REGISTRY, else registry.reg beside this program, as the
// program itself finds it.
#include "regstore/RegistryPath.h"
#include "regstore/RegImport.h"
#include "regstore/RegistryStore.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

namespace {

constexpr int kImported = 0;
constexpr int kNotImported = 1;
constexpr int kBadUsage = 2;

int Usage(const std::string& problem)
{
    std::cerr << "tunewright-import: " << problem << "\n"
              << "usage: tunewright-import [/s] FILE\n";
    return kBadUsage;
}

bool IsSilentSwitch(const std::string& arg)
{
    return arg == "/s" || arg == "/S" || arg == "-s" || arg == "-S";
}

// Anything but y or yes, an empty line and the end of input among them, is no.
bool AskOnTerminal(const std::string& question)
{
    std::cout << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::cout << '\n';
        return false;
    }
    answer.erase(std::remove_if(answer.begin(), answer.end(), [](unsigned char c) { return std::isspace(c); }),
                 answer.end());
    std::transform(answer.begin(), answer.end(), answer.begin(), [](unsigned char c) { return std::tolower(c); });
    return answer == "y" || answer == "yes";
}

} // namespace

int main(int argc, char** argv)
{
    bool silent = false;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (IsSilentSwitch(arg))
            silent = true;
        else if (arg.size() > 1 && arg[0] == '-')
            return Usage("unknown option " + arg);
        else if (file.empty())
            file = arg;
        else
            return Usage("one file at a time");
    }
    if (file.empty())
        return Usage("which file?");

    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        std::cerr << "tunewright-import: cannot find the program's own file (/proc/self/exe): " << ec.message()
                  << '\n';
        return kNotImported;
    }
    // With no backend installed, the store's own reports go to standard error.
    tk::RegistryStore store(tk::DefaultRegistryPath(executable.parent_path().string()));
    const tk::RegImportOutcome outcome =
        tk::ImportRegFile(file, store, silent ? tk::RegImportConfirm() : tk::RegImportConfirm(AskOnTerminal));
    switch (outcome.status) {
    case tk::RegImportStatus::Imported:
        if (!silent)
            std::cout << outcome.message << '\n';
        return kImported;
    case tk::RegImportStatus::Declined:
        return kNotImported;
    case tk::RegImportStatus::Failed:
        break;
    }
    std::cerr << "tunewright-import: " << outcome.message << '\n';
    return kNotImported;
}
