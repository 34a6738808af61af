#include "toolkit/TemporaryName.h"

#include <charconv>
#include <random>

namespace tk::detail {

namespace {

constexpr std::string_view kTemporaryMark = ".tw-";
constexpr std::size_t kSuffixLength = 6;

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

std::optional<std::int64_t> WriterOf(std::string_view entry, std::string_view prefix)
{
    if (!entry.starts_with(prefix))
        return std::nullopt;
    entry.remove_prefix(prefix.size());
    const std::size_t dash = entry.find('-');
    if (dash == std::string_view::npos || entry.size() - dash - 1 != kSuffixLength)
        return std::nullopt;
    std::int64_t pid = 0;
    const auto [end, ec] = std::from_chars(entry.data(), entry.data() + dash, pid);
    if (ec != std::errc() || end != entry.data() + dash || pid <= 0)
        return std::nullopt;
    return pid;
}

} // namespace tk::detail
