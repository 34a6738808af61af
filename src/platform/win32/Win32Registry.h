#pragma once
// The Windows registry behind the toolkit's registry interface. Each call
// opens its key, does its one read, write or delete and closes the key.
//
// A sub-key is handed to the system with every run of backslashes made one
// and trailing ones dropped: Windows does not promise to read a doubled
// separator as one (it may fail on it), and the text-file store of the Linux
// build does so. A sub-key that starts with a backslash names no key there
// and is refused here without asking the system.
#include "platform/Registry.h"

#include <optional>
#include <string>

namespace platform {

class Win32Registry final : public IRegistry {
public:
    Result<RegValue, RegFault> QueryValue(RegRoot root, std::string_view subKey, std::string_view name) override;
    // Read with the wide API: the narrow one puts "?" for every character of
    // a text that the ANSI code page lacks.
    Result<ExactRegValue, RegFault> QueryExactValue(RegRoot root, std::string_view subKey,
                                                    std::string_view name) override;
    RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name, const RegValue& value) override;
    bool HoldsWideText() const override;
    RegResult SetWideValue(RegRoot root, std::string_view subKey, std::string_view name,
                           const RegValue& wide) override;
    RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override;
    Result<bool, RegFault> DeleteEmptyKey(RegRoot root, std::string_view subKey) override;

    // Whether the key holds no value and no key; KeyNotFound when it is not
    // there. A root is never empty here: it cannot be removed.
    Result<bool, RegError> IsEmptyKey(RegRoot root, std::string_view subKey);
};

// The sub-key as the system is given it, or nothing for one that names no
// key: single separators, none at the end.
std::optional<std::string> SystemSubKey(std::string_view subKey);

} // namespace platform
