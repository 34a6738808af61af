// tunewright-cli: the functions of an installation from a command line, for
// scripts and for fleets of machines (`tunewright-cli --help`). The
// installation is the folder of the program unless --app-folder names
// another; its registry is chosen as the headless driver chooses it.
#include "cli/CommandLine.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/FreedMemory.h"
#include "platform/ConsoleText.h"
#include "runregistry/RunRegistry.h"
#include "util/Path.h"

#ifdef _WIN32
#include "platform/win32/DllSearch.h"
#endif

#include <exception>
#include <iostream>
#include <memory>

int main(int argc, char** argv)
{
#ifdef _WIN32
    platform::win32::LoadDllsFromSystemFolderOnly();
#endif
    // Output passes as written: a profile keeps its CR LF, JSON its bytes,
    // and text the console's line ends.
    platform::KeepFreedMemory();
    platform::UseBinaryStandardStreams();
    platform::UseBinaryStandardError();
    const platform::Utf8Console console;
    std::unique_ptr<runregistry::RunRegistry> run;
    try {
        const cli::Host host{util::FolderOf(platform::ExecutablePath()),
                             [&run](const std::string& file, const std::string& folder) -> platform::IRegistry& {
                                 run = runregistry::OpenRunRegistry(file, folder);
                                 return run->Registry();
                             },
                             std::cout, std::cerr, runregistry::RunRegistryFile, &std::cin};
        int status = cli::RunCommandLine(platform::CommandLineArguments(argc, argv), host);
        if (run)
            run->Finish();
        return status;
    } catch (const std::exception& e) {
        std::cerr << "tunewright-cli: " << e.what() << '\n';
        return cli::kFailed;
    }
}
