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

// The help of the window's language where the installation has it
// (help1031.chm for the section [1031]), else the English help.chm. The
// backend shows it as its platform can, and names a help file that is
// missing or cannot be read.
void CTunewrightDlg::OpenHelpFile()
{
    const std::string folder = power.GetApplicationFolder();
    const std::string& section = translation.Section();
    if (section.size() > 2 && section != "[1033]") {
        const std::string own = JoinPath(folder, "help" + section.substr(1, section.size() - 2) + ".chm");
        if (tk::ReadHelpFile(own)) {
            tk::CurrentBackend().ShowHelp(own);
            return;
        }
    }
    tk::CurrentBackend().ShowHelp(JoinPath(folder, "help.chm"));
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
