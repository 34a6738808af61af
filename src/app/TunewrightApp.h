#pragma once
#include "toolkit/Dialog.h"

namespace app {

class CTunewrightApp : public toolkit::CWinApp {
public:
    CTunewrightApp();
    bool InitInstance() override;
};

} // namespace app
