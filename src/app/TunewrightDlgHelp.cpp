#include "app/AboutDlg.h"
#include "app/TextKeys.h"
#include "app/Texts.h"
#include "app/TunewrightDlg.h"

#include "platform/Services.h"
#include "util/Path.h"

namespace app {

// A target that no program opens is told, naming it; true when a program
// was started for it.
bool CTunewrightDlg::OpenWithShell(const std::string& target)
{
    const platform::ShellResult opened = platform::ShellOpen(target);
    if (!opened)
        ShowMessageBox(platform::Text(text::CannotOpen, {target, opened.Error()}), T(textkey::MessageCaption),
                       {toolkit::BoxButtons::Ok, toolkit::BoxIcon::Error});
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
        const std::string own = util::JoinPath(folder, "help" + section.substr(1, section.size() - 2) + ".chm");
        if (toolkit::ReadHelpFile(own)) {
            toolkit::CurrentBackend().ShowHelp(own);
            return;
        }
    }
    toolkit::CurrentBackend().ShowHelp(util::JoinPath(folder, "help.chm"));
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

} // namespace app
