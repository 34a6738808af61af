#pragma once
// What the fuzz targets share: one input cut into several files, the input
// as text, and a property that must hold. A property that fails prints what
// failed and aborts, so that libFuzzer keeps the input as a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The parts of an input that holds several files, cut at the first
// `count - 1` separators "====\n". The bytes before a separator belong to the
// part before it, line end included, so a part keeps the line ends of the
// file it came from. Parts the input lacks are empty.
inline std::vector<std::string_view> Parts(std::string_view input, std::size_t count)
{
    constexpr std::string_view kSeparator = "====\n";
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const std::size_t at = input.find(kSeparator);
        if (at == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

// The first line of a part, without its line end.
inline std::string FirstLine(std::string_view part)
{
    return std::string(part.substr(0, part.find_first_of("\r\n")));
}

// A name that the fuzz targets may give a file of the application folder,
// such as the translation file named by a fuzzed config.ini: a short name
// with no folder part, so that nothing outside the folder is touched.
inline bool IsPlainFileName(std::string_view name)
{
    return name.size() <= 64 && name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

[[noreturn]] inline void Fail(const char* property, const char* file, int line, const std::string& detail = {})
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, property);
    if (!detail.empty())
        std::fprintf(stderr, "  %s\n", detail.c_str());
    std::abort();
}

} // namespace fuzz

#define FUZZ_CHECK(condition) ((condition) ? void() : ::fuzz::Fail(#condition, __FILE__, __LINE__))
#define FUZZ_CHECK_SAID(condition, detail) \
    ((condition) ? void() : ::fuzz::Fail(#condition, __FILE__, __LINE__, (detail)))
