#pragma once
#include "resource.h"
#include "toolkit/Dialog.h"

namespace app {

// The About box. It is not translated: its texts are the template's.
class CAboutDlg : public toolkit::CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };
    CAboutDlg() : toolkit::CDialog(IDD) {}
};

} // namespace app
