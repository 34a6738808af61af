#pragma once
// What the crash writer writes, known to the test that kills it: a settings
// file for each round number, large enough that a kill can land mid-write.
#include <cstdint>
#include <string>

namespace crash {

inline constexpr const char* kCounterKey = "Crash";
inline constexpr const char* kCounterValue = "counter";

inline std::string Settings(std::uint32_t round)
{
    return "Round\r\n" + std::to_string(round) + "\r\nFiller\r\n"
         + std::string(16384, static_cast<char>('a' + round % 26)) + "\r\n";
}

} // namespace crash
