#pragma once
#include "toolkit/Dialog.h"

class CTunewrightApp : public tk::CWinApp {
public:
    CTunewrightApp();
    bool InitInstance() override;
};
