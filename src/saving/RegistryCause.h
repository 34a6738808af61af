#pragma once
// What the registry said of a read or a change it refused, in words for a
// message.
#include "platform/Registry.h"

#include <string>

namespace saving {

std::string CauseText(platform::RegError error);
// The registry's own words when it gave them (a store names its file).
std::string CauseText(const platform::RegFault& fault);

} // namespace saving
