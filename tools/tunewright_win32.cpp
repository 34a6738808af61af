// tunewright.exe: the Windows program. It reads no command line; the
// application folder is the folder of the program file, and the registry is
// the system's.
#include "Texts.h"

#include "toolkit/Dialog.h"
#include "backends/win32/Win32Backend.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "backends/win32/Win32Window.h"
#include "util/Path.h"

#include <exception>

namespace {

// Double-clicked inside the zip file, the program runs alone from a folder
// of Windows' choosing, where none of its data files are: that is said
// plainly instead of a file error.
bool HasSettingsBeside(const std::string& program, std::string& settings)
{
    settings = JoinPath(FolderOf(program), "config.ini");
    const DWORD attributes = ::GetFileAttributesA(settings.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        const std::string program = tk::ModuleFileName();
        std::string settings;
        if (!HasSettingsBeside(program, settings)) {
            tk::ShowBox(nullptr, tk::Text(text::RunFromExtractedFolder, {settings}), tk::AppTitle(),
                        {tk::BoxButtons::Ok, tk::BoxIcon::Error});
            return 1;
        }
        tk::Win32Backend backend;
        tk::Win32Registry registry;
        tk::ShellExecuteShell shell;
        tk::LocalClock clock;

        tk::RunApplication(backend, tk::Services{&registry, &shell, &clock, program});
    } catch (const std::exception& e) {
        tk::ShowBox(nullptr, e.what(), tk::AppTitle(), {tk::BoxButtons::Ok, tk::BoxIcon::Error});
        return 1;
    }
    return 0;
}
