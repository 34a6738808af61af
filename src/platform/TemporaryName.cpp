#include "platform/TemporaryName.h"

#include <charconv>
#include <random>

namespace platform::detail {

namespace {

constexpr std::string_view kTemporaryMark = ".tw-";
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kLongestPid = 10;

} // namespace

std::string TemporaryPrefix(std::string_view name)
{
    return "." + std::string(name) + std::string(kTemporaryMark);
}

std::string NewTemporaryName(std::string_view name, std::int64_t pid)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    std::string result = TemporaryPrefix(name) + std::to_string(pid) + "-";
    for (std::size_t i = 0; i < kSuffixLength; ++i)
        result += kLetters[letter(random)];
    return result;
}

std::size_t TemporaryNameExtra()
{
    return TemporaryPrefix("").size() + kLongestPid + 1 + kSuffixLength;
}

namespace {

// What follows the mark in `entry` when it is a temporary name: of the file
// that `prefix` belongs to, or of any file when `prefix` is empty.
std::optional<std::string_view> AfterMark(std::string_view entry, std::string_view prefix)
{
    if (!prefix.empty()) {
        if (!entry.starts_with(prefix))
            return std::nullopt;
        return entry.substr(prefix.size());
    }
    const std::size_t mark = entry.rfind(kTemporaryMark);
    if (!entry.starts_with('.') || mark == std::string_view::npos || mark == 0)
        return std::nullopt;
    return entry.substr(mark + kTemporaryMark.size());
}

} // namespace

std::optional<std::int64_t> WriterOf(std::string_view entry, std::string_view prefix)
{
    const auto rest = AfterMark(entry, prefix);
    if (!rest)
        return std::nullopt;
    const std::size_t dash = rest->find('-');
    if (dash == std::string_view::npos || rest->size() - dash - 1 != kSuffixLength)
        return std::nullopt;
    std::int64_t pid = 0;
    const auto [end, ec] = std::from_chars(rest->data(), rest->data() + dash, pid);
    if (ec != std::errc() || end != rest->data() + dash || pid <= 0)
        return std::nullopt;
    return pid;
}

} // namespace platform::detail
