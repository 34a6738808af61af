#pragma once
#include "toolkit/Dialog.h"

// The About box. It is not translated: its texts are the template's.
class CAboutDlg : public tk::CDialog {
public:
    enum { IDD = 100 };
    CAboutDlg() : tk::CDialog(IDD) {}
};
