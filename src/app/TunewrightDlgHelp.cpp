#include "app/AboutDlg.h"
#include "app/TunewrightDlg.h"

#include "platform/Services.h"
#include "util/Path.h"

void CTunewrightDlg::OpenHelpFile()
{
    tk::ShellOpen(JoinPath(power.GetApplicationFolder(), "help.chm"));
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
