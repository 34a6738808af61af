#include "toolkit/NewFile.h"

#include "toolkit/win32/Win32.h"

namespace tk {

namespace {

// Removes the file unless it was written completely.
class PartialFile {
public:
    PartialFile(const std::string& path, HANDLE handle) : path_(path), handle_(handle) {}
    ~PartialFile()
    {
        handle_.reset();
        if (!complete_)
            ::DeleteFileA(path_.c_str());
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    HANDLE Handle() const { return handle_.get(); }
    bool Close() { return ::CloseHandle(handle_.release()) != 0; }
    void Complete() { complete_ = true; }

private:
    const std::string& path_;
    win32::UniqueHandle handle_;
    bool complete_ = false;
};

// A folder of the name makes the system refuse access rather than say the
// name exists.
bool NameExists(const std::string& path, DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
           (error == ERROR_ACCESS_DENIED && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES);
}

} // namespace

NewFileResult CreateNewFile(const std::string& path, std::string_view content)
{
    const HANDLE handle =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (NameExists(path, error))
            return NewFileResult::NameTaken;
        ::SetLastError(error);
        win32::ThrowLastError(path, "cannot create the file");
    }
    PartialFile file(path, handle);
    win32::WriteAll(path, file.Handle(), content);
    if (!::FlushFileBuffers(file.Handle()))
        win32::ThrowLastError(path, "cannot flush to disk");
    if (!file.Close())
        win32::ThrowLastError(path, "cannot write");
    file.Complete();
    return NewFileResult::Created;
}

} // namespace tk
