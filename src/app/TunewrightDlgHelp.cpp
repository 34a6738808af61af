#include "app/AboutDlg.h"
#include "app/TunewrightDlg.h"

#include "platform/Services.h"
#include "util/Path.h"

// The backend shows it as its platform can, and names a help file that is
// missing or cannot be read.
void CTunewrightDlg::OpenHelpFile()
{
    tk::CurrentBackend().ShowHelp(JoinPath(power.GetApplicationFolder(), "help.chm"));
}

bool CTunewrightDlg::OnHelpInfo()
{
    OpenHelpFile();
    return false;
}

void CTunewrightDlg::OpenHomepage()
{
    tk::ShellOpen(power.ReadSetting("Homepage"));
}

void CTunewrightDlg::ShowAboutBox()
{
    CAboutDlg about;
    about.DoModal();
}
