#include "toolkit/posix/TemporaryFile.h"

#include "toolkit/posix/FileSteps.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <random>
#include <string_view>

namespace tk {

namespace {

constexpr std::string_view kTemporaryMark = ".tw-";
constexpr std::size_t kSuffixLength = 6;

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryPrefix(const std::string& target)
{
    return "." + NameOf(target) + std::string(kTemporaryMark);
}

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

// The writer's process id when `entry` is a temporary name.
std::optional<pid_t> WriterOf(std::string_view entry, std::string_view prefix)
{
    const auto rest = AfterMark(entry, prefix);
    if (!rest)
        return std::nullopt;
    const std::size_t dash = rest->find('-');
    if (dash == std::string_view::npos || rest->size() - dash - 1 != kSuffixLength)
        return std::nullopt;
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(rest->data(), rest->data() + dash, pid);
    if (ec != std::errc() || end != rest->data() + dash || pid <= 0)
        return std::nullopt;
    return pid;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

TemporaryFile::~TemporaryFile()
{
    if (!path_.empty())
        ::unlink(path_.c_str());
}

UniqueFd TemporaryFile::Create(const std::string& target, mode_t mode)
{
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string prefix = Beside(target, TemporaryPrefix(target) + std::to_string(::getpid()) + "-");
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (std::size_t i = 0; i < kSuffixLength; ++i)
            name += kLetters[letter(random)];
        UniqueFd fd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (fd.Valid())
            path_ = std::move(name);
        if (fd.Valid() || errno != EEXIST)
            return fd;
    }
    return UniqueFd();
}

void RemoveStaleTemporaries(const std::string& target, StaleTemporaries scope)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(FolderOf(target).c_str()));
    if (!dir)
        return;
    const std::string prefix = scope == StaleTemporaries::OfThisFile ? TemporaryPrefix(target) : std::string();
    while (const dirent* entry = ::readdir(dir.get())) {
        const auto pid = WriterOf(entry->d_name, prefix);
        if (pid && ::kill(*pid, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

} // namespace tk
