#include "regstore/RegistryStore.h"

#include "platform/AtomicFile.h"
#include "platform/ErrorReport.h"
#include "platform/Exceptions.h"
#include "platform/posix/ReadAll.h"
#include "regfile/RegFile.h"
#include "platform/RegNames.h"
#include "regstore/RegStoreEdit.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace tk {

namespace {

const char* const kBrokenLead = "The registry store cannot be used and is left as it is; settings cannot be read or "
                                "saved until it is mended.\n";

// An exclusive flock on a file beside the store. The store file itself cannot
// carry the lock: each change replaces it by rename, and a lock on the old
// inode would not keep out a writer that opened the new one.
class LockFile {
public:
    explicit LockFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666))
    {
        if (!fd_.Valid())
            return;
        int rc;
        while ((rc = ::flock(fd_.Get(), LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0)
            fd_.Reset();
    }

    bool Held() const { return fd_.Valid(); }

private:
    UniqueFd fd_;
};

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::string SystemFault(const std::string& path, const char* action)
{
    return "\"" + path + "\": " + action + " (" + std::strerror(errno) + ")";
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

RegistryStore::~RegistryStore() = default;

RegistryStore& RegistryStore::ForProcess(std::string path)
{
    static RegistryStore* const store = new RegistryStore(std::move(path));
    return *store;
}

void RegistryStore::ForgetCopy()
{
    openFile_.Reset();
    stamp_ = FileStamp{};
    state_ = CopyState::Stale;
}

void RegistryStore::UseEmptyRegistry()
{
    ForgetCopy();
    copy_ = RegStoreText::Empty(path_);
    state_ = CopyState::Current;
    reportedFaults_.clear();
}

void RegistryStore::Report(std::string_view lead, const std::string& fault)
{
    lastFault_ = fault;
    if (!reportedFaults_.insert(fault).second)
        return;
    unshownReport_ = std::string(lead) + fault;
}

RegFault RegistryStore::Broken() const
{
    return RegFault(RegError::StoreBroken, "the registry store \"" + path_ + "\" cannot be used: " + lastFault_);
}

RegFault RegistryStore::NotWritten(const CFileException& e)
{
    // A fault of this write, which its caller tells; read again before the
    // next use, so that a write that fails again fails again.
    ForgetCopy();
    if (e.Path() == path_)
        return RegFault(RegError::WriteFailed, "the registry store \"" + path_ + "\" " + e.Cause());
    return RegFault(RegError::WriteFailed, "the registry store \"" + path_ + "\" could not be changed: " + e.what());
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
        Report(kBrokenLead, SystemFault(path_, "cannot be examined"));
        ForgetCopy();
        return false;
    }
    if (present && state_ != CopyState::Stale && FileStamp::Of(st) == stamp_)
        return state_ == CopyState::Current;
    if (!present && state_ == CopyState::Current && !stamp_.exists)
        return true;

    // Without O_NONBLOCK a pipe in the store's place would block here until
    // some writer came.
    UniqueFd fd(present ? ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1);
    if (!fd.Valid() && present && errno != ENOENT) {
        Report(kBrokenLead, SystemFault(path_, "cannot be opened"));
        ForgetCopy();
        return false;
    }
    if (!fd.Valid()) {
        UseEmptyRegistry();
        return true;
    }
    struct ::stat opened{};
    if (::fstat(fd.Get(), &opened) != 0) {
        Report(kBrokenLead, SystemFault(path_, "cannot be examined"));
        ForgetCopy();
        return false;
    }
    return Load(std::move(fd), opened);
}

// Keeps the refused version's file open and its stamp, so that it is not
// read or reported again until it changes.
bool RegistryStore::Refuse(UniqueFd file, const struct ::stat& st, const std::string& fault)
{
    ForgetCopy();
    openFile_ = std::move(file);
    stamp_ = FileStamp::Of(st);
    state_ = CopyState::Broken;
    Report(kBrokenLead, fault);
    return false;
}

bool RegistryStore::Load(UniqueFd file, const struct ::stat& st)
{
    if (!S_ISREG(st.st_mode))
        return Refuse(std::move(file), st, "\"" + path_ + "\": is not a regular file, so it cannot hold the registry");
    const std::string tooLarge = "\"" + path_ + "\": is larger than 256 MB, the most a registry store may hold";
    if (st.st_size > static_cast<off_t>(kMaxRegStoreBytes))
        return Refuse(std::move(file), st, tooLarge);
    std::string content;
    if (!ReadAll(file.Get(), static_cast<std::size_t>(st.st_size), kMaxRegStoreBytes, content)) {
        Report(kBrokenLead, SystemFault(path_, "cannot be read"));
        ForgetCopy();
        return false;
    }
    if (content.size() > kMaxRegStoreBytes)
        return Refuse(std::move(file), st, tooLarge);
    // A file of no bytes at all, made by touch say, holds no settings to keep.
    if (content.empty()) {
        UseEmptyRegistry();
        openFile_ = std::move(file);
        stamp_ = FileStamp::Of(st);
        return true;
    }
    auto text = RegStoreText::Read(std::move(content), path_);
    if (!text)
        return Refuse(std::move(file), st, text.Error().Message());
    ForgetCopy();
    openFile_ = std::move(file);
    stamp_ = FileStamp::Of(st);
    copy_ = std::move(text.Value());
    state_ = CopyState::Current;
    reportedFaults_.clear();
    return true;
}

Result<RegValue, RegError> RegistryStore::Lookup(RegRoot root, std::string_view subKey, std::string_view name)
{
    std::string identity;
    if (!AppendKeyIdentity(identity, root, subKey))
        return RegError::BadKeyPath;
    const auto key = copy_->Find(identity);
    if (!key) {
        Report(kBrokenLead, key.Error().Message());
        return RegError::StoreBroken;
    }
    if (key.Value() == nullptr)
        // A root is there even without a section of its own.
        return identity.size() == 1 ? RegError::ValueNotFound : RegError::KeyNotFound;
    const RegValue* value = key.Value()->Find(name);
    if (value == nullptr)
        return RegError::ValueNotFound;
    return *value;
}

bool RegistryStore::CheckAll()
{
    const auto checked = copy_->CheckAll();
    if (!checked)
        Report(kBrokenLead, checked.Error().Message());
    return checked.HasValue();
}

// A change's caller is told why it failed, in the result: the store shows
// no box of its own for it, and a later read does not show the fault again.
RegResult RegistryStore::Modify(const Change& change)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    RegResult result = ModifyLocked(change);
    if (!result && result.Error() == RegError::StoreBroken && unshownReport_.empty()) {
        RegFault told = result.Error();
        told.told = true;
        result = told;
    }
    unshownReport_.clear();
    return result;
}

std::optional<RegistryStore::Outcome> RegistryStore::Apply(const Change& change, RegStoreEdit& edit)
{
    const Outcome outcome = change(edit);
    if (edit.Fault()) {
        Report(kBrokenLead, edit.Fault()->Message());
        return std::nullopt;
    }
    if (outcome.changed && !CheckAll())
        return std::nullopt;
    return outcome;
}

RegResult RegistryStore::ModifyLocked(const Change& change)
{
    // Outside the lock first: a change that would change nothing, and one
    // that a broken store refuses, take no lock, and where no store exists
    // they leave no lock file behind.
    if (!Refresh())
        return Broken();
    RegStoreEdit unlockedEdit(*copy_);
    auto outcome = Apply(change, unlockedEdit);
    if (!outcome)
        return Broken();
    if (!outcome->changed)
        return outcome->result;

    std::string lockPath;
    try {
        // Beside the file itself, so that every link to it shares one lock.
        lockPath = FileBehindLinks(path_) + ".lock";
    } catch (const CFileException& e) {
        return NotWritten(e);
    }
    const LockFile lock(lockPath);
    if (!lock.Held())
        return RegFault(RegError::WriteFailed, "the registry store \"" + path_ + "\" could not be changed: " +
                                                   SystemFault(lockPath, "cannot be locked"));
    const FileStamp unlocked = stamp_;
    if (!Refresh())
        return Broken();
    // Nobody wrote before the lock was taken: the change made outside it
    // stands. Otherwise it is made again on what the other writer left.
    if (stamp_ == unlocked)
        return WriteCopy(*outcome, unlockedEdit.NewText());
    RegStoreEdit edit(*copy_);
    outcome = Apply(change, edit);
    if (!outcome)
        return Broken();
    if (!outcome->changed)
        return outcome->result;
    return WriteCopy(*outcome, edit.NewText());
}

// Still inside the lock.
RegResult RegistryStore::WriteCopy(const Outcome& outcome, std::string text)
{
    try {
        WriteFileAtomically(path_, text);
    } catch (const CFileException& e) {
        return NotWritten(e);
    }
    // The file now there is the one just written, and the copy matches it.
    UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct ::stat st{};
    if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        ForgetCopy();
        return outcome.result;
    }
    ForgetCopy();
    openFile_ = std::move(fd);
    stamp_ = FileStamp::Of(st);
    copy_ = RegStoreText::Changed(std::move(text), path_);
    state_ = CopyState::Current;
    return outcome.result;
}

Result<RegValue, RegError> RegistryStore::QueryValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    Result<RegValue, RegError> result = RegError::StoreBroken;
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        if (Refresh())
            result = Lookup(root, subKey, name);
    }
    ShowReport();
    return result;
}

RegResult RegistryStore::SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                                  const RegValue& value)
{
    if (!IsStorableName(subKey) || !IsStorableName(name))
        return RegError::WriteFailed;
    return Modify([&](RegStoreEdit& edit) {
        const RegValue* old = edit.FindValue(root, subKey, name);
        if (old != nullptr && old->type == value.type && old->data == value.data)
            return Outcome{{}, false};
        return Outcome::Of(edit.SetValue(root, subKey, name, value));
    });
}

RegResult RegistryStore::DeleteValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    return Modify([&](RegStoreEdit& edit) {
        return Outcome::Of(edit.DeleteValue(root, subKey, name));
    });
}

Result<bool, RegFault> RegistryStore::DeleteEmptyKey(RegRoot root, std::string_view subKey)
{
    bool removed = false;
    const RegResult result = Modify([&](RegStoreEdit& edit) {
        removed = edit.DeleteEmptyKey(root, subKey);
        return Outcome{{}, removed};
    });
    if (!result)
        return result.Error();
    return removed;
}

RegResult RegistryStore::ApplyChanges(const std::vector<RegValueChange>& values, const std::vector<RegKeyPath>& emptyKeys)
{
    for (const RegValueChange& change : values)
        if (!IsStorableName(change.key.subKey) || !IsStorableName(change.name))
            return RegError::WriteFailed;
    return Modify([&](RegStoreEdit& edit) {
        bool changed = false;
        for (const RegValueChange& change : values) {
            const RegKeyPath& key = change.key;
            const RegValue* old = edit.FindValue(key.root, key.subKey, change.name);
            if (!change.value) {
                if (old == nullptr)
                    continue;
                if (const RegResult removed = edit.DeleteValue(key.root, key.subKey, change.name); !removed)
                    return Outcome{removed, false};
            } else if (old == nullptr || old->type != change.value->type || old->data != change.value->data) {
                if (const RegResult set = edit.SetValue(key.root, key.subKey, change.name, *change.value); !set)
                    return Outcome{set, false};
            } else {
                continue;
            }
            changed = true;
        }
        for (const RegKeyPath& key : emptyKeys)
            changed = edit.DeleteEmptyKey(key.root, key.subKey) || changed;
        return Outcome{{}, changed};
    });
}

RegResult RegistryStore::DeleteKey(RegRoot root, std::string_view subKey)
{
    return Modify([&](RegStoreEdit& edit) {
        return Outcome::Of(edit.DeleteKey(root, subKey));
    });
}

RegResult RegistryStore::Import(const RegFileDocument& changes)
{
    if (!IsStorableDocument(changes))
        return RegError::WriteFailed;
    return Modify([&](RegStoreEdit& edit) {
        return Outcome::Of(ApplyRegFile(changes, edit, RegFileComments::Drop));
    });
}

} // namespace tk
