// tunewright.exe: the Windows program. It reads no command line; the
// application folder is the folder of the program file, and the registry is
// the system's.
#include "Texts.h"

#include "toolkit/Dialog.h"
#include "backends/win32/Win32Backend.h"
#include "platform/win32/Win32Registry.h"
#include "i18n/Translation.h"
#include "platform/Exceptions.h"
#include "platform/Services.h"
#include "platform/win32/Accounts.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/Win32Services.h"
#include "backends/win32/Win32Window.h"
#include "util/Path.h"

#include <exception>
#include <optional>

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

// Run as another account than the one signed in to the desktop (a standard
// user who typed an administrator's password), every function below
// HKEY_CURRENT_USER would change that account's settings while reporting
// success: said before anything can be changed, in the installation's
// language. True when the program is to go on.
bool RunAsWhoeverItShould(const tk::Services& services)
{
    const std::optional<tk::win32::AccountPair> accounts = tk::win32::OtherThanDesktopAccount();
    if (!accounts)
        return true;
    const tk::ScopedServices installed(services);
    std::optional<CTranslation> language;
    try {
        language.emplace();
        language->Load();
    } catch (const tk::CException&) {
        language.reset();
    }
    const tk::ScopedTextLookup texts([&language](int key) { return language ? language->Find(key) : std::nullopt; });
    return tk::ShowBox(nullptr, tk::Text(text::OtherAccount, {accounts->program, accounts->desktop}), tk::AppTitle(),
                       {tk::BoxButtons::YesNo, tk::BoxIcon::Question, true}) == tk::Answer::Yes;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    tk::win32::LoadDllsFromSystemFolderOnly();
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

        const tk::Services services{&registry, &shell, &clock, program};
        if (!RunAsWhoeverItShould(services))
            return 1;
        tk::RunApplication(backend, services);
    } catch (const std::exception& e) {
        tk::ShowBox(nullptr, e.what(), tk::AppTitle(), {tk::BoxButtons::Ok, tk::BoxIcon::Error});
        return 1;
    }
    return 0;
}
