#include "app/Texts.h"
#include "app/TunewrightDlg.h"

namespace app {

// A read that meets a registry that cannot be read shows it in place of a
// value; the user is told once what is wrong, not at every read, nor again
// when a later change fails for the same reason.
void CTunewrightDlg::ShowRegistryFault(const platform::RegFault& fault)
{
    if (shownRegistryFaults_.insert(fault.cause).second)
        toolkit::ReportError(platform::Text(text::RegistryUnusable) + "\n" + fault.cause);
}

bool CTunewrightDlg::ShownRegistryFault(const platform::RegFault& fault) const
{
    return fault == platform::RegError::StoreBroken && shownRegistryFaults_.count(fault.cause) > 0;
}

} // namespace app
