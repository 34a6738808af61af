#pragma once
// A small installation for tunewright-cli run in this process: config.ini,
// a translation that names the given functions ("Hint <i>" their hints), the
// given catalogue and a backup folder, over a registry of the test's own.
#include "unit/TempAppFolder.h"

#include "cli/CommandLine.h"
#include "platform/Registry.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

class CliInstallation {
public:
    CliInstallation(platform::IRegistry& registry, const std::vector<std::string>& names,
                    const std::vector<std::string>& catalogue,
                    const std::filesystem::path& base = std::filesystem::temp_directory_path())
        : registry_(registry), folder_(&registry, nullptr, base)
    {
        folder_.Write("config.ini", "Product ID\r\n0019\r\nLanguage\r\n[1033]\r\n");
        std::string translation = "[1033]\r\n00060 Off\r\n00065 On\r\n";
        int key = 10000;
        for (std::size_t i = 0; i < names.size(); ++i, key += 10)
            translation += std::to_string(key) + " " + names[i] + "\r\n" + std::to_string(key + 1) + " Hint " +
                           std::to_string(i) + "\r\n";
        folder_.Write("0019trl.ini", translation + std::to_string(key) + " End of functions\r\n[EOL]\r\n");
        std::string lines;
        for (const std::string& line : catalogue)
            lines += line + "\r\n";
        folder_.Write("0019fct.ini", lines);
        std::filesystem::create_directory(folder_.Folder() / "backup");
    }

    const TempAppFolder& Folder() const { return folder_; }
    std::string BackupFolder() const { return folder_.Path("backup"); }

    // `input` is standard input.
    CliRun Run(const std::vector<std::string>& args, const std::string& input = {}) const
    {
        std::ostringstream out;
        std::ostringstream err;
        std::istringstream in(input);
        const cli::Host host{folder_.Folder().string(),
                             [this](const std::string&, const std::string&) -> platform::IRegistry& { return registry_; },
                             out, err, {}, &in};
        const int status = cli::RunCommandLine(args, host);
        return {status, out.str(), err.str()};
    }

private:
    platform::IRegistry& registry_;
    TempAppFolder folder_;
};
