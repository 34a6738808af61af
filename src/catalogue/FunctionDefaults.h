#pragma once
// Windows' own defaults: the file 0019def.ini beside the catalogue, in its
// numbered-line shape, one line for each function whose value on a fresh
// Windows is known: five digits of the function key, one separator
// character, then the value as a registry file writes it after "name=":
// "400", dword:00000000, hex(2):.., or - for a value that Windows does not
// have. A function without a line has no known default; an installation
// without the file has none at all.
#include "catalogue/FunctionKind.h"
#include "platform/Registry.h"
#include "platform/Result.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace catalogue {

struct WindowsDefault {
    std::string text;                        // the value as the file writes it
    std::optional<platform::RegValue> value; // none: Windows has no such value
};

// By function key.
using FunctionDefaults = std::map<int, WindowsDefault>;

// The defaults that the lines give; the first bad line, named with `path`
// and its number, fails them all. Empty lines are skipped.
platform::Result<FunctionDefaults, std::string> ParseDefaults(const std::vector<std::string>& lines,
                                                        const std::string& path);

// The file in the application folder, and whether the installation has it.
std::string DefaultsPath(const std::string& applicationFolder);
bool HasDefaults(const std::string& applicationFolder);

// The installation's defaults: none without the file; the fault, naming the
// file, when it cannot be read or holds a bad line.
platform::Result<FunctionDefaults, std::string> ReadDefaults(const std::string& applicationFolder);

// Whether a function of the kind `row` can hold the default: a DWORD kind a
// REG_DWORD, a text kind a REG_SZ or REG_EXPAND_SZ; a kind that stores
// nothing has no default, and "no value" fits every other.
bool DefaultFitsKind(const KindRow& row, const WindowsDefault& windowsDefault);

} // namespace catalogue
