#include "app/Texts.h"
#include "app/TunewrightDlg.h"

// A read that meets a registry that cannot be read shows it in place of a
// value; the user is told once what is wrong, not at every read, nor again
// when a later change fails for the same reason.
void CTunewrightDlg::ShowRegistryFault(const tk::RegFault& fault)
{
    if (shownRegistryFaults_.insert(fault.cause).second)
        tk::ReportError(tk::Text(text::RegistryUnusable) + "\n" + fault.cause);
}

bool CTunewrightDlg::ShownRegistryFault(const tk::RegFault& fault) const
{
    return fault == tk::RegError::StoreBroken && shownRegistryFaults_.count(fault.cause) > 0;
}
