#pragma once
// The utility object: where the program lies, what config.ini says, how texts
// become numbers, the registry operations and the date texts. Every file
// operation opens, reads and closes its file anew; nothing is cached.
#include "platform/Registry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace util {

// A read as start-up and the option panel make it: the value, or the fixed
// text or number in its place, and beside it the fault of a registry that
// cannot be read at all (StoreBroken), which the caller tells the user.
template <class T>
struct RegReading {
    T value;
    std::optional<platform::RegFault> fault;
};

enum class RegistryLocation {
    FromPath,     // the current key path names its root: "HKEY_..\\Sub\\Key"
    LocalMachine, // the current key path is a sub-key of HKEY_LOCAL_MACHINE
};

class PowerClass {
public:
    // The key that the registry operations address; the caller sets it right
    // before each call.
    std::string currentKeyPath;

    // --- Settings, numbers and files ---
    std::string GetApplicationFolder() const;
    std::string ReadSetting(const std::string& key) const;
    void WriteSetting(const std::string& key, const std::string& value) const;
    static std::int32_t DecimalToInt(const std::string& text);
    static std::int32_t HexToInt(const std::string& text);
    static bool FileHasLine(const std::string& path, const std::string& line);
    static std::int32_t IntPower(std::int32_t base, std::int32_t exponent);

    // --- Registry ---
    // A REG_SZ or REG_EXPAND_SZ value's text, unexpanded; "No REG_SZ" for any
    // other type.
    std::string ReadStringValue(RegistryLocation location, const std::string& valueName) const;
    std::int32_t ReadDwordValue(RegistryLocation location, const std::string& valueName) const;
    // The same reads with the fault of a broken registry beside the value.
    RegReading<std::string> ReadString(RegistryLocation location, const std::string& valueName) const;
    RegReading<std::int32_t> ReadDword(RegistryLocation location, const std::string& valueName) const;
    // The same reads made of a value read already under the current key
    // path (ReadRawValue), so that one read serves a caller that needs the
    // value's bytes as well.
    RegReading<std::string> StringOf(const platform::Result<platform::RegValue, platform::RegFault>& raw) const;
    RegReading<std::int32_t> DwordOf(const platform::Result<platform::RegValue, platform::RegFault>& raw) const;
    // The writes and the delete give the registry's result: done, or why not.
    // A string written over a REG_EXPAND_SZ value keeps that type; any other
    // becomes a REG_SZ.
    platform::RegResult WriteStringValue(RegistryLocation location, const std::string& valueName,
                                   const std::string& data) const;
    platform::RegResult WriteDwordValue(RegistryLocation location, const std::string& valueName,
                                  std::int32_t data) const;
    platform::RegResult DeleteValue(RegistryLocation location, const std::string& valueName) const;
    // Whether a write of `value` would be made, as far as the registry can
    // tell without making it (IRegistry::CheckChanges): saving asks before
    // it writes the backup.
    platform::RegResult CheckWrite(RegistryLocation location, const std::string& valueName, const platform::RegValue& value) const;
    // For callers that must preserve a value exactly (backups): the value's
    // type and raw bytes under the path-form key, or why there is none.
    platform::Result<platform::RegValue, platform::RegFault> ReadRawValue(const std::string& valueName) const;
    // The same value for a backup: in the registry's wide form when the code
    // page cannot carry its text.
    platform::Result<platform::ExactRegValue, platform::RegFault> ReadExactValue(const std::string& valueName) const;
    // Runs `work` so that its reads and writes of the registry are one step
    // that no other program's writes come between, where the registry can
    // (IRegistry::Exclusively).
    void RunExclusively(const std::function<void()>& work) const;
    // The path form names HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE first,
    // case-sensitively; empty for any other beginning. The sub-key is as
    // written after the root, doubled separators included.
    static std::optional<platform::RegKeyPath> ResolvePathForm(const std::string& keyPath);

    // --- Dates --- (a backup's stamp: backup/Stamp.h)
    static std::string PadWithZeros(const std::string& text, int width);

    // config.ini in the application folder.
    std::string SettingsPath() const;
};

} // namespace util
