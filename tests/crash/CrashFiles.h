#pragma once
// What the crash writer writes, known to the test that kills it: files large
// enough that a kill can land mid-write.
#include "saving/BackupText.h"

#include <cstdint>
#include <string>

namespace crash {

inline constexpr const char* kCounterKey = "Crash";
inline constexpr const char* kCounterValue = "counter";
inline constexpr const char* kSettingsKey = "Language";
inline const std::string kFiller(16384, 'f');

// config.ini once the round's number is the language setting.
inline std::string Settings(std::uint32_t round)
{
    return std::string(kSettingsKey) + "\r\n" + std::to_string(round) + "\r\nFiller\r\n" + kFiller + "\r\n";
}

// What every backup of the writer holds: a long string value.
inline std::string Backup()
{
    const saving::SaveKey key{platform::RegRoot::CurrentUser, {"Software", "Crash"}};
    return saving::BackupText(key, "Filler", saving::PriorValue{platform::ExactRegValue{platform::RegValue::String(kFiller)}, {}});
}

} // namespace crash
