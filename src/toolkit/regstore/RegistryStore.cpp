#include "toolkit/regstore/RegistryStore.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/Services.h"
#include "toolkit/regstore/RegFile.h"
#include "toolkit/regstore/RegNames.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tk {

namespace {

// An exclusive flock on a file beside the store. The store file itself cannot
// carry the lock: each change replaces it by rename, and a lock on the old
// inode would not keep out a writer that opened the new one.
class LockFile {
public:
    explicit LockFile(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (fd_ < 0)
            return;
        int rc;
        while ((rc = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~LockFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string SystemFault(const std::string& path, const char* action)
{
    return "\"" + path + "\": " + action + " (" + std::strerror(errno) + ")";
}

bool ReadAll(int fd, std::size_t sizeHint, std::string& content)
{
    content.clear();
    content.reserve(sizeHint);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

bool IsStorableDocument(const RegFileDocument& document)
{
    for (const RegFileSection& section : document.sections) {
        if (!IsStorableName(section.subKey))
            return false;
        for (const RegFileValueLine& line : section.values)
            if (!IsStorableName(line.name))
                return false;
    }
    return true;
}

} // namespace

bool RegistryStore::FileStamp::operator==(const FileStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
        && SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

RegistryStore::FileStamp RegistryStore::FileStamp::Of(const struct ::stat& st)
{
    return FileStamp{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

RegistryStore::RegistryStore(std::string path) : path_(std::move(path)) {}

RegistryStore::~RegistryStore()
{
    ForgetCopy();
}

void RegistryStore::ForgetCopy()
{
    if (openFile_ >= 0)
        ::close(openFile_);
    openFile_ = -1;
    stamp_ = FileStamp{};
    state_ = CopyState::Stale;
}

void RegistryStore::UseEmptyRegistry()
{
    ForgetCopy();
    tree_ = RegistryTree();
    state_ = CopyState::Current;
    reportedFault_.clear();
}

void RegistryStore::Report(const std::string& fault)
{
    if (fault == reportedFault_)
        return;
    reportedFault_ = fault;
    unshownReport_ = "The registry store cannot be used and is left as it is; settings cannot be read or saved "
                     "until it is mended.\n" + fault;
}

void RegistryStore::ShowReport()
{
    std::string text;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        text.swap(unshownReport_);
    }
    if (!text.empty())
        ReportError(text);
}

bool RegistryStore::Refresh()
{
    struct ::stat st{};
    const bool present = ::stat(path_.c_str(), &st) == 0;
    if (!present && errno != ENOENT) {
        Report(SystemFault(path_, "cannot be examined"));
        ForgetCopy();
        return false;
    }
    if (present && state_ != CopyState::Stale && FileStamp::Of(st) == stamp_)
        return state_ == CopyState::Current;
    if (!present && state_ == CopyState::Current && !stamp_.exists)
        return true;

    const int fd = present ? ::open(path_.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0 && present && errno != ENOENT) {
        Report(SystemFault(path_, "cannot be opened"));
        ForgetCopy();
        return false;
    }
    if (fd < 0) {
        UseEmptyRegistry();
        return true;
    }
    struct ::stat opened{};
    if (::fstat(fd, &opened) != 0) {
        Report(SystemFault(path_, "cannot be examined"));
        ::close(fd);
        ForgetCopy();
        return false;
    }
    return Load(fd, FileStamp::Of(opened));
}

// Takes over `fd`, the open store file.
bool RegistryStore::Load(int fd, const FileStamp& stamp)
{
    std::string content;
    if (!ReadAll(fd, static_cast<std::size_t>(stamp.size), content)) {
        Report(SystemFault(path_, "cannot be read"));
        ::close(fd);
        ForgetCopy();
        return false;
    }
    // A file of no bytes at all, made by touch say, holds no settings to keep.
    if (content.empty()) {
        UseEmptyRegistry();
        openFile_ = fd;
        stamp_ = stamp;
        return true;
    }
    auto document = ParseRegFile(content, path_);
    ForgetCopy();
    openFile_ = fd;
    stamp_ = stamp;
    if (!document) {
        state_ = CopyState::Broken;
        Report(document.Error().Message());
        return false;
    }
    RegistryTree tree;
    ApplyRegFile(document.Value(), tree);
    tree_ = std::move(tree);
    state_ = CopyState::Current;
    reportedFault_.clear();
    return true;
}

RegStatus RegistryStore::Modify(const Change& change)
{
    RegStatus status;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        status = ModifyLocked(change);
    }
    ShowReport();
    return status;
}

RegStatus RegistryStore::ModifyLocked(const Change& change)
{
    LockFile lock(path_ + ".lock");
    if (!lock.Held())
        return RegStatus::WriteFailed;
    if (!Refresh())
        return RegStatus::StoreBroken;
    const Outcome outcome = change(tree_);
    if (!outcome.changed)
        return outcome.status;
    try {
        WriteFileAtomically(path_, SerialiseRegFile(tree_));
    } catch (const std::exception&) {
        // The copy holds a change that the file does not.
        ForgetCopy();
        return RegStatus::WriteFailed;
    }
    // Still inside the lock, so the file now there is the one just written
    // and the copy matches it.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    struct ::stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        ForgetCopy();
        return outcome.status;
    }
    ForgetCopy();
    openFile_ = fd;
    stamp_ = FileStamp::Of(st);
    state_ = CopyState::Current;
    return outcome.status;
}

Result<RegValue, RegError> RegistryStore::QueryValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    Result<RegValue, RegError> result = RegError::StoreBroken;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        if (Refresh())
            result = tree_.QueryValue(root, subKey, name);
    }
    ShowReport();
    return result;
}

RegStatus RegistryStore::SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                                  const RegValue& value)
{
    if (!IsStorableName(subKey) || !IsStorableName(name))
        return RegStatus::WriteFailed;
    return Modify([&](RegistryTree& tree) {
        const RegValue* old = tree.FindValue(root, subKey, name);
        if (old != nullptr && old->type == value.type && old->data == value.data)
            return Outcome{RegStatus::Ok, false};
        return Outcome{tree.SetValue(root, subKey, name, value), true};
    });
}

RegStatus RegistryStore::DeleteValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    return Modify([&](RegistryTree& tree) {
        const RegStatus status = tree.DeleteValue(root, subKey, name);
        return Outcome{status, status == RegStatus::Ok};
    });
}

RegStatus RegistryStore::DeleteKey(RegRoot root, std::string_view subKey)
{
    return Modify([&](RegistryTree& tree) {
        const RegStatus status = tree.DeleteKey(root, subKey);
        return Outcome{status, status == RegStatus::Ok};
    });
}

RegStatus RegistryStore::Import(const RegFileDocument& changes)
{
    if (!IsStorableDocument(changes))
        return RegStatus::WriteFailed;
    return Modify([&](RegistryTree& tree) {
        ApplyRegFile(changes, tree);
        return Outcome{RegStatus::Ok, true};
    });
}

} // namespace tk
