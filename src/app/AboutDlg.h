#pragma once
#include "resource.h"
#include "toolkit/Dialog.h"

// The About box. It is not translated: its texts are the template's.
class CAboutDlg : public tk::CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };
    CAboutDlg() : tk::CDialog(IDD) {}
};
