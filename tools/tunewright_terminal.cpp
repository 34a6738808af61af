// tunewright: the program with its full-screen text front end for Linux
// terminals. It reads no command line; the application folder is the folder
// of the executable, and the registry store lies there unless
// $TUNEWRIGHT_REGISTRY names another file.
#include "Texts.h"

#include "toolkit/Dialog.h"
#include "regstore/RegistryPath.h"
#include "platform/FreedMemory.h"
#include "platform/Services.h"
#include "regstore/RegistryStore.h"
#include "backends/terminal/ImportingShell.h"
#include "backends/terminal/TerminalBackend.h"
#include "backends/terminal/TerminalSession.h"
#include "backends/terminal/XdgOpenShell.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

int main()
{
    platform::KeepFreedMemory();
    if (!backends::terminal::TerminalSession::Available()) {
        std::cerr << "tunewright: " << platform::Text(tools::text::NeedsTerminal) << '\n';
        return 1;
    }
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        std::cerr << "tunewright: " << platform::Text(tools::text::NoOwnFile, {"/proc/self/exe", ec.message()}) << '\n';
        return 1;
    }
    const std::string folder = executable.parent_path().string();

    try {
        backends::terminal::TerminalSession session;
        backends::terminal::TerminalBackend backend(session,
                                                    backends::terminal::ColourDepthOf(std::getenv("COLORTERM"), std::getenv("TERM")));
        regstore::RegistryStore& registry = regstore::RegistryStore::ForProcess(regstore::DefaultRegistryPath(folder));
        platform::SystemClock clock;
        backends::terminal::XdgOpenShell desktop;
        // A backup chosen in "Reverse changes" is imported here, asked in a
        // box of the program's window, as the registry editor asks on Windows.
        backends::terminal::ImportingShell shell(registry, desktop, backends::terminal::ImportingShell::MainWindowBox());

        platform::Services services;
        services.registry = &registry;
        services.shell = &shell;
        services.clock = &clock;
        services.executablePath = executable.string();
        toolkit::RunApplication(backend, services);
    } catch (const std::exception& e) {
        // The session's destructor has given the terminal back by now.
        std::cerr << "tunewright: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
