// tunewright.exe: the Windows program. It reads no command line; the
// application folder is the folder of the program file, and the registry is
// the system's.
#include "toolkit/Dialog.h"
#include "backends/win32/Win32Backend.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "backends/win32/Win32Window.h"

#include <exception>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        tk::Win32Backend backend;
        tk::Win32Registry registry;
        tk::ShellExecuteShell shell;
        tk::LocalClock clock;

        tk::RunApplication(backend, tk::Services{&registry, &shell, &clock, tk::ModuleFileName()});
    } catch (const std::exception& e) {
        tk::ShowBox(nullptr, e.what(), tk::AppTitle(), {tk::BoxButtons::Ok, tk::BoxIcon::Error});
        return 1;
    }
    return 0;
}
