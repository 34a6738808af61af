// tunewright.exe: the Windows program. It reads no command line; the
// application folder is the folder of the program file, and the registry is
// the system's.
#include "toolkit/Backend.h"
#include "toolkit/Dialog.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Services.h"
#include "toolkit/win32/Win32Backend.h"
#include "toolkit/win32/Win32Registry.h"
#include "toolkit/win32/Win32Services.h"
#include "toolkit/win32/Win32Window.h"

#include <exception>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        tk::Win32Backend backend;
        tk::Win32Registry registry;
        tk::ShellExecuteShell shell;
        tk::LocalClock clock;

        tk::Services services;
        services.registry = &registry;
        services.shell = &shell;
        services.clock = &clock;
        services.executablePath = tk::ModuleFileName();
        tk::ScopedServices installed(services);
        tk::ScopedBackend active(backend);

        tk::CWinApp* app = tk::AfxGetApp();
        if (!app)
            throw tk::CException("the application object is missing");
        app->InitInstance();
    } catch (const std::exception& e) {
        tk::ShowBox(nullptr, e.what(), tk::AppTitle(), {tk::BoxButtons::Ok, tk::BoxIcon::Error});
        return 1;
    }
    return 0;
}
