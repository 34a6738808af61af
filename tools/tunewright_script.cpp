// tunewright-script: runs the real main dialog on the headless toolkit. It
// reads commands from standard input and prints what a user would see, one
// event a line; the README lists both.
#include "runregistry/RunRegistry.h"
#include "script/ScriptShell.h"

#include "platform/ConsoleText.h"
#include "toolkit/Dialog.h"
#include "platform/FileSystem.h"
#include "platform/FreedMemory.h"
#include "platform/Services.h"
#include "backends/headless/HeadlessBackend.h"
#include "util/Minute.h"
#include "util/Path.h"

#include <exception>
#include <iostream>
#include <optional>
#include <string>

namespace {

int Usage(const std::string& problem)
{
    std::cerr << "tunewright-script: " << problem << "\n"
              << "usage: tunewright-script --app-folder DIR [--registry FILE] [--now YYYY-MM-DDTHH:MM]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    platform::KeepFreedMemory();
    std::string appFolder;
    std::string registryPath;
    std::optional<platform::LocalTime> now;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return Usage(arg + " needs a value");
        const std::string value = argv[++i];
        if (arg == "--app-folder")
            appFolder = value;
        else if (arg == "--registry")
            registryPath = value;
        else if (arg == "--now") {
            now = util::ParseMinute(value);
            if (!now)
                return Usage("--now wants YYYY-MM-DDTHH:MM, not " + value);
        } else
            return Usage("unknown option " + arg);
    }
    if (appFolder.empty())
        return Usage("--app-folder is required");
    if (!platform::IsFolder(appFolder))
        return Usage("no such folder: " + appFolder);
    appFolder = platform::FullPath(appFolder);
    platform::UseBinaryStandardStreams();

    std::unique_ptr<runregistry::RunRegistry> registry;
    try {
        registry = runregistry::OpenRunRegistry(registryPath, appFolder);
    } catch (const std::exception& e) {
        std::cerr << "tunewright-script: " << e.what() << '\n';
        return 1;
    }
    backends::headless::HeadlessBackend backend(std::cin, std::cout);
    platform::SystemClock systemClock;
    std::optional<platform::FixedClock> fixedClock;
    if (now)
        fixedClock.emplace(*now);

    platform::Services services;
    services.registry = &registry->Registry();
    const std::unique_ptr<platform::IShell> importing = tools::MakeImportingShell(registry->Registry(), backend);
    services.shell = importing ? importing.get() : static_cast<platform::IShell*>(&backend);
    services.clock = fixedClock ? static_cast<platform::IClock*>(&*fixedClock) : &systemClock;
    // The program believes it lies in the installation folder.
    services.executablePath = util::JoinPath(appFolder, "tunewright");

    backend.QueueLeadingAnswers();
    try {
        toolkit::RunApplication(backend, services);
        registry->Finish();
    } catch (const std::exception& e) {
        std::cerr << "tunewright-script: " << e.what() << '\n';
        return 1;
    }
    const int status = backend.Finish();
    if (status != 0)
        std::cerr << "tunewright-script: the script holds bad commands or commands after the dialog ended (see the "
                     "\"bad command\" and \"ignored\" lines)\n";
    return status;
}
