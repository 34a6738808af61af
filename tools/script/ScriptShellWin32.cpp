#include "script/ScriptShell.h"

namespace tools {

std::unique_ptr<platform::IShell> MakeImportingShell(platform::IRegistry&, platform::IShell&)
{
    return nullptr;
}

} // namespace tools
