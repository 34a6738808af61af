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
    settings = util::JoinPath(util::FolderOf(program), "config.ini");
    const DWORD attributes = ::GetFileAttributesA(settings.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Run as another account than the one signed in to the desktop (a standard
// user who typed an administrator's password), every function below
// HKEY_CURRENT_USER would change that account's settings while reporting
// success: said before anything can be changed, in the installation's
// language. True when the program is to go on.
bool RunAsWhoeverItShould(const platform::Services& services)
{
    const std::optional<platform::win32::AccountPair> accounts = platform::win32::OtherThanDesktopAccount();
    if (!accounts)
        return true;
    const platform::ScopedServices installed(services);
    std::optional<i18n::CTranslation> language;
    try {
        language.emplace();
        language->Load();
    } catch (const platform::CException&) {
        language.reset();
    }
    const platform::ScopedTextLookup texts([&language](int key) { return language ? language->Find(key) : std::nullopt; });
    return backends::win32::ShowBox(nullptr, platform::Text(tools::text::OtherAccount, {accounts->program, accounts->desktop}), toolkit::AppTitle(),
                       {toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question, true}) == toolkit::Answer::Yes;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    platform::win32::LoadDllsFromSystemFolderOnly();
    try {
        const std::string program = platform::ModuleFileName();
        std::string settings;
        if (!HasSettingsBeside(program, settings)) {
            backends::win32::ShowBox(nullptr, platform::Text(tools::text::RunFromExtractedFolder, {settings}), toolkit::AppTitle(),
                        {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
            return 1;
        }
        backends::win32::Win32Backend backend;
        platform::Win32Registry registry;
        platform::ShellExecuteShell shell;
        platform::LocalClock clock;

        const platform::Services services{&registry, &shell, &clock, program};
        if (!RunAsWhoeverItShould(services))
            return 1;
        toolkit::RunApplication(backend, services);
    } catch (const std::exception& e) {
        backends::win32::ShowBox(nullptr, e.what(), toolkit::AppTitle(), {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
        return 1;
    }
    return 0;
}
