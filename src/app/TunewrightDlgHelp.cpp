#include "app/AboutDlg.h"
#include "app/TextKeys.h"
#include "app/Texts.h"
#include "app/TunewrightDlg.h"

#include "platform/Services.h"
#include "util/Path.h"

// A target that no program opens is told, naming it; true when a program
// was started for it.
bool CTunewrightDlg::OpenWithShell(const std::string& target)
{
    const tk::ShellResult opened = tk::ShellOpen(target);
    if (!opened)
        ShowMessageBox(tk::Text(text::CannotOpen, {target, opened.Error()}), T(textkey::MessageCaption),
                       {tk::BoxButtons::Ok, tk::BoxIcon::Error});
    return opened.HasValue();
}

void CTunewrightDlg::OpenHelpFile()
{
    OpenWithShell(JoinPath(power.GetApplicationFolder(), "help.chm"));
}

bool CTunewrightDlg::OnHelpInfo()
{
    OpenHelpFile();
    return false;
}

void CTunewrightDlg::OpenHomepage()
{
    OpenWithShell(power.ReadSetting("Homepage"));
}

void CTunewrightDlg::ShowAboutBox()
{
    CAboutDlg about;
    about.DoModal();
}
