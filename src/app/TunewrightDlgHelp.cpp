#include "app/AboutDlg.h"
#include "app/TunewrightDlg.h"

#include "toolkit/Services.h"
#include "util/Path.h"

namespace {

void ShellOpen(const std::string& target)
{
    if (tk::IShell* shell = tk::CurrentServices().shell)
        shell->Open(target);
}

} // namespace

void CTunewrightDlg::OpenHelpFile()
{
    ShellOpen(JoinPath(power.GetApplicationFolder(), "help.chm"));
}

bool CTunewrightDlg::OnHelpInfo()
{
    OpenHelpFile();
    return false;
}

void CTunewrightDlg::OpenHomepage()
{
    ShellOpen(power.ReadSetting("Homepage"));
}

void CTunewrightDlg::ShowAboutBox()
{
    CAboutDlg about;
    about.DoModal();
}
