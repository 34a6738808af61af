#include "platform/win32/TemporaryFile.h"

#include "platform/TemporaryName.h"
#include "platform/Texts.h"

namespace platform {

namespace {

std::size_t LastSeparator(const std::string& path)
{
    return path.find_last_of("\\/");
}

std::string NameOf(const std::string& path)
{
    const std::size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

// A writer whose process can be opened still runs; a process that is gone
// cannot be opened at all.
bool ProcessIsGone(std::int64_t pid)
{
    const win32::UniqueHandle process(
        ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid)));
    return process == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER;
}

// `name` in the folder of `path`.
std::string Beside(const std::string& path, const std::string& name)
{
    const std::size_t at = LastSeparator(path);
    return at == std::string::npos ? name : path.substr(0, at + 1) + name;
}

} // namespace

void RemoveStaleTemporaries(const std::string& target, StaleTemporaries scope)
{
    const std::string prefix
        = scope == StaleTemporaries::OfThisFile ? detail::TemporaryPrefix(NameOf(target)) : std::string();
    WIN32_FIND_DATAA entry{};
    const HANDLE search = ::FindFirstFileA(Beside(target, prefix.empty() ? ".*" : prefix + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const auto pid = detail::WriterOf(entry.cFileName, prefix);
        if (pid && ProcessIsGone(*pid))
            ::DeleteFileA(Beside(target, entry.cFileName).c_str());
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
}

TemporaryFile::~TemporaryFile()
{
    handle_.reset();
    if (!path_.empty())
        ::DeleteFileA(path_.c_str());
}

bool TemporaryFile::Create(const std::string& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = Beside(target, detail::NewTemporaryName(NameOf(target), ::GetCurrentProcessId()));
        handle_.reset(
            ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle_.get() != INVALID_HANDLE_VALUE) {
            path_ = std::move(name);
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

void TemporaryFile::Write(const std::string& path, std::string_view piece)
{
    win32::WriteAll(path, handle_.get(), piece);
}

void TemporaryFile::Fill(const std::string& path, std::string_view content)
{
    Write(path, content);
    if (!::FlushFileBuffers(handle_.get()))
        win32::ThrowLastError(path, Text(text::CannotFlush));
    if (!::CloseHandle(handle_.release()))
        win32::ThrowLastError(path, Text(text::CannotWrite));
}

} // namespace platform
