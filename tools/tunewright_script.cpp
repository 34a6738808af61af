// tunewright-script: runs the real main dialog on the headless toolkit. It
// reads commands from standard input and prints what a user would see, one
// event a line; the README lists both.
#include "script/ScriptPlatform.h"

#include "toolkit/Dialog.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "backends/headless/HeadlessBackend.h"
#include "util/Path.h"

#include <cstdio>
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

std::optional<tk::LocalTime> ParseTime(const std::string& text)
{
    tk::LocalTime t;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute, &tail) != 5)
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.hour < 0 ||
        t.minute < 0)
        return std::nullopt;
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    std::string appFolder;
    std::string registryPath;
    std::optional<tk::LocalTime> now;
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
            now = ParseTime(value);
            if (!now)
                return Usage("--now wants YYYY-MM-DDTHH:MM, not " + value);
        } else
            return Usage("unknown option " + arg);
    }
    if (appFolder.empty())
        return Usage("--app-folder is required");
    if (!tk::IsFolder(appFolder))
        return Usage("no such folder: " + appFolder);
    appFolder = tk::FullPath(appFolder);
    UseBinaryStandardStreams();

    std::unique_ptr<ScriptRegistry> registry;
    try {
        registry = OpenScriptRegistry(registryPath, appFolder);
    } catch (const std::exception& e) {
        std::cerr << "tunewright-script: " << e.what() << '\n';
        return 1;
    }
    tk::HeadlessBackend backend(std::cin, std::cout);
    tk::SystemClock systemClock;
    std::optional<tk::FixedClock> fixedClock;
    if (now)
        fixedClock.emplace(*now);

    tk::Services services;
    services.registry = &registry->Registry();
    services.shell = &registry->Shell(backend);
    services.clock = fixedClock ? static_cast<tk::IClock*>(&*fixedClock) : &systemClock;
    // The program believes it lies in the installation folder.
    services.executablePath = JoinPath(appFolder, "tunewright");

    backend.QueueLeadingAnswers();
    try {
        tk::RunApplication(backend, services);
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
