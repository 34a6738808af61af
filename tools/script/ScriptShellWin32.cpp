#include "script/ScriptShell.h"

std::unique_ptr<tk::IShell> MakeImportingShell(tk::IRegistry&, tk::IShell&)
{
    return nullptr;
}
