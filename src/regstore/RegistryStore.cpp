#include "regstore/RegistryStore.h"

#include "platform/AtomicFile.h"
#include "platform/Exceptions.h"
#include "platform/posix/AtomicWriter.h"
#include "platform/posix/ReadAll.h"
#include "regfile/RegFile.h"
#include "platform/RegNames.h"
#include "regstore/RegStoreEdit.h"
#include "regstore/Texts.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace regstore {

namespace {

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
    platform::UniqueFd fd_;
};

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// What the system said of a file, after its name.
std::string SystemFault(const std::string& path, const platform::TextId& action)
{
    return regfile::RegFileError{path, 0, platform::Text(action, {std::strerror(errno)})}.Message();
}

// The store's limit as its messages give it: 256 for the real one.
std::string Megabytes(std::size_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

// Whether a text taken a piece at a time, in order, is the store's, byte for
// byte; a store that cannot be read holds no text.
class SameAsStore {
public:
    explicit SameAsStore(const RegStoreText& store) : store_(store), size_(store.Index().texts.front().size) {}

    void Take(std::string_view piece)
    {
        if (same_ && at_ + piece.size() <= size_) {
            buffer_.clear();
            same_ = store_.AppendBytes(buffer_, at_, at_ + piece.size()) && buffer_ == piece;
        } else {
            same_ = false;
        }
        at_ += piece.size();
    }
    bool Same() const { return same_ && at_ == size_; }

private:
    const RegStoreText& store_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool same_ = true;
    std::string buffer_;
};

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

RegistryStore::RegistryStore(std::string path, std::size_t maxBytes) : path_(std::move(path)), maxBytes_(maxBytes) {}

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
}

void RegistryStore::Note(const std::string& fault)
{
    lastFault_ = fault;
}

platform::RegFault RegistryStore::Broken() const
{
    return platform::RegFault(platform::RegError::StoreBroken, platform::Text(text::StoreBrokenCause, {path_, lastFault_}));
}

platform::RegFault RegistryStore::NotWritten(const platform::CFileException& e)
{
    // A fault of this write, which its caller tells; read again before the
    // next use, so that a write that fails again fails again.
    ForgetCopy();
    if (e.Path() == path_)
        return platform::RegFault(platform::RegError::WriteFailed, platform::Text(text::StoreFileCause, {path_, e.Cause()}));
    return platform::RegFault(platform::RegError::WriteFailed, platform::Text(text::StoreUnchangedCause, {path_, e.what()}));
}

bool RegistryStore::Refresh()
{
    struct ::stat st{};
    const bool present = ::stat(path_.c_str(), &st) == 0;
    if (!present && errno != ENOENT) {
        Note(SystemFault(path_, text::StoreCannotBeExamined));
        ForgetCopy();
        return false;
    }
    if (present && state_ != CopyState::Stale && FileStamp::Of(st) == stamp_)
        return state_ == CopyState::Current;
    if (!present && state_ == CopyState::Current && !stamp_.exists)
        return true;

    // Without O_NONBLOCK a pipe in the store's place would block here until
    // some writer came.
    platform::UniqueFd fd(present ? ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1);
    if (!fd.Valid() && present && errno != ENOENT) {
        Note(SystemFault(path_, text::StoreCannotBeOpened));
        ForgetCopy();
        return false;
    }
    if (!fd.Valid()) {
        UseEmptyRegistry();
        return true;
    }
    struct ::stat opened{};
    if (::fstat(fd.Get(), &opened) != 0) {
        Note(SystemFault(path_, text::StoreCannotBeExamined));
        ForgetCopy();
        return false;
    }
    return Load(std::move(fd), opened);
}

// Keeps the refused version's file open and its stamp, so that it is not
// read or reported again until it changes.
bool RegistryStore::Refuse(platform::UniqueFd file, const struct ::stat& st, const std::string& fault)
{
    ForgetCopy();
    openFile_ = std::move(file);
    stamp_ = FileStamp::Of(st);
    state_ = CopyState::Broken;
    Note(fault);
    return false;
}

bool RegistryStore::Load(platform::UniqueFd file, const struct ::stat& st)
{
    if (!S_ISREG(st.st_mode))
        return Refuse(std::move(file), st, regfile::RegFileError{path_, 0, platform::Text(text::StoreNotRegular)}.Message());
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes_)
        return Refuse(std::move(file), st,
                      regfile::RegFileError{path_, 0, platform::Text(text::StoreTooLarge, {Megabytes(maxBytes_)})}.Message());
    // A file of no bytes at all, made by touch say, holds no settings to keep.
    if (st.st_size == 0) {
        UseEmptyRegistry();
        openFile_ = std::move(file);
        stamp_ = FileStamp::Of(st);
        return true;
    }
    // The copy reads the file; a version refused keeps it open here instead.
    platform::UniqueFd kept(::fcntl(file.Get(), F_DUPFD_CLOEXEC, 0));
    auto text = RegStoreText::Read(RegText::InFile(std::move(file), static_cast<std::size_t>(st.st_size), path_));
    if (!text)
        return Refuse(std::move(kept), st, text.Error().Message());
    ForgetCopy();
    stamp_ = FileStamp::Of(st);
    copy_ = std::move(text.Value());
    state_ = CopyState::Current;
    return true;
}

platform::Result<platform::RegValue, platform::RegFault> RegistryStore::Lookup(platform::RegRoot root, std::string_view subKey, std::string_view name)
{
    std::string identity;
    if (!AppendKeyIdentity(identity, root, subKey))
        return platform::RegError::BadKeyPath;
    const auto key = copy_->Index().FindKey(identity);
    if (!key)
        // A root is there even without a section of its own.
        return identity.size() == 1 ? platform::RegError::ValueNotFound : platform::RegError::KeyNotFound;
    const auto value = copy_->Value(*key, name);
    if (!value) {
        Note(value.Error().Message());
        return Broken();
    }
    if (value.Value() == nullptr)
        return platform::RegError::ValueNotFound;
    return *value.Value();
}

platform::RegResult RegistryStore::Modify(const Change& change, RegStoreText* import, const ChangeList* list)
{
    const std::lock_guard<std::recursive_mutex> guard(mutex_);
    return ModifyLocked(change, import, list);
}

// A change made on the copy, or on the copy with a file to import after it,
// and the text it gives.
struct RegistryStore::Prepared {
    Outcome outcome{{}, false};
    std::string text;
    bool tooLarge = false;
    // An import's text, written to the temporary file as it was made
    // instead of held; or why it could not be.
    std::unique_ptr<platform::AtomicFileWriter> file;
    std::optional<platform::CFileException> fileFault;
};

struct RegistryStore::Checked {
    FileStamp stamp;
    std::vector<platform::RegValueChange> values;
    std::vector<platform::RegKeyPath> emptyKeys;
    std::unique_ptr<Prepared> prepared;

    bool Prepares(const FileStamp& now, const ChangeList& list) const
    {
        const auto sameKey = [](const platform::RegKeyPath& a, const platform::RegKeyPath& b) {
            return a.root == b.root && a.subKey == b.subKey;
        };
        return stamp == now
            && std::equal(values.begin(), values.end(), list.values.begin(), list.values.end(),
                          [&](const platform::RegValueChange& a, const platform::RegValueChange& b) {
                              return sameKey(*a.Key(), *b.Key()) && a.Name() == b.Name() && a.SetsAs(b);
                          })
            && std::equal(emptyKeys.begin(), emptyKeys.end(), list.emptyKeys.begin(), list.emptyKeys.end(), sameKey);
    }
};

// A list of more values than this has its new text written as it is made:
// a list that long costs the text's bytes once more to hold, where a short
// one's text is kept as the copy of the store, which the reads after the
// change then need not index again.
constexpr std::size_t kHeldValues = 1024;

RegistryStore::TextGoes RegistryStore::TextFor(const ChangeList* list, const RegStoreText* import, bool check) const
{
    if (import != nullptr)
        return TextGoes::ToFile;
    if (list == nullptr || list->values.size() <= kHeldValues)
        return TextGoes::Held;
    return check ? TextGoes::Measured : TextGoes::ToFile;
}

std::unique_ptr<RegistryStore::Prepared> RegistryStore::Prepare(const Change& change, RegStoreText* import, TextGoes goes)
{
    std::optional<RegStoreText> combined;
    RegStoreText* text = &*copy_;
    // A file read for this version of the store is indexed with it already.
    if (import != nullptr && import->Imports(*copy_)) {
        text = import;
    } else if (import != nullptr) {
        auto withImport = RegStoreText::WithImport(*copy_, *import);
        if (!withImport) {
            Note(withImport.Error().Message());
            return nullptr;
        }
        text = &combined.emplace(std::move(withImport.Value()));
    }
    RegStoreEdit edit(*text);
    auto prepared = std::make_unique<Prepared>();
    prepared->outcome = change(edit);
    if (edit.Fault()) {
        Note(edit.Fault()->Message());
        return nullptr;
    }
    if (!prepared->outcome.changed)
        return prepared;
    // A change in place parses only the keys it changes; a rewrite parses
    // every key and finds any fault itself.
    if (text->Index().storeCanonical) {
        if (const auto checked = text->CheckAll(); !checked) {
            Note(checked.Error().Message());
            return nullptr;
        }
    }
    if (goes != TextGoes::Held)
        return Streamed(edit, std::move(prepared), goes, import != nullptr);
    auto newText = edit.NewText(maxBytes_);
    if (!newText && edit.Fault()) {
        Note(edit.Fault()->Message());
        return nullptr;
    }
    prepared->tooLarge = !newText;
    if (newText)
        prepared->text = std::move(*newText);
    return prepared;
}

// A file imported may be as large as the store, and a long list's text as
// well: it goes to the temporary file as it is made. An import's is compared
// with the store's on the way, as what it changes is not known before.
std::unique_ptr<RegistryStore::Prepared> RegistryStore::Streamed(RegStoreEdit& edit, std::unique_ptr<Prepared> prepared,
                                                                 TextGoes goes, bool compare)
{
    if (goes == TextGoes::ToFile) {
        try {
            prepared->file = std::make_unique<platform::AtomicFileWriter>(path_);
        } catch (const platform::CFileException& e) {
            // Told only if the text is to be written.
            prepared->fileFault = e;
        }
    }
    std::optional<SameAsStore> same;
    if (compare)
        same.emplace(*copy_);
    const bool made = edit.WriteNewText(maxBytes_, [&](std::string_view piece) {
        if (same)
            same->Take(piece);
        if (!prepared->file)
            return;
        try {
            prepared->file->Write(piece);
        } catch (const platform::CFileException& e) {
            prepared->fileFault = e;
            prepared->file.reset();
        }
    });
    if (!made && edit.Fault()) {
        Note(edit.Fault()->Message());
        return nullptr;
    }
    prepared->tooLarge = !made;
    // An import whose every value the store holds already, or a file of
    // nothing but its first line, changes nothing: the store is not written,
    // nor made where there was none.
    if (made && same && same->Same()) {
        prepared->outcome.changed = false;
        prepared->file.reset();
    }
    return prepared;
}

platform::RegFault RegistryStore::TooLarge() const
{
    return platform::RegFault(platform::RegError::WriteFailed, platform::Text(text::StoreWouldGrowTooLarge, {path_, Megabytes(maxBytes_)}));
}

std::optional<platform::RegResult> RegistryStore::EndedBeforeWrite(const Prepared* prepared) const
{
    if (!prepared)
        return Broken();
    if (!prepared->outcome.changed)
        return prepared->outcome.result;
    // A text the store could not read back is never written.
    if (prepared->tooLarge)
        return TooLarge();
    return std::nullopt;
}

platform::RegResult RegistryStore::WithLock(const std::function<platform::RegResult()>& step)
{
    std::optional<LockFile> lock;
    if (!lockHeld_) {
        std::string lockPath;
        try {
            lockPath = LockPath();
        } catch (const platform::CFileException& e) {
            return NotWritten(e);
        }
        if (!lock.emplace(lockPath).Held())
            return platform::RegFault(platform::RegError::WriteFailed, platform::Text(text::StoreUnchangedCause,
                                                            {path_, SystemFault(lockPath, text::StoreCannotBeLocked)}));
    }
    return step();
}

platform::RegResult RegistryStore::ModifyLocked(const Change& change, RegStoreText* import, const ChangeList* list)
{
    const std::unique_ptr<Checked> checked = std::move(checked_);
    // Outside the lock first: a change that would change nothing, and one
    // that a broken store refuses, take no lock, and where no store exists
    // they leave no lock file behind.
    if (!Refresh())
        return Broken();
    auto prepared = checked && list && checked->Prepares(stamp_, *list) ? std::move(checked->prepared)
                                                                         : Prepare(change, import, TextFor(list, import, false));
    if (const auto ended = EndedBeforeWrite(prepared.get()))
        return *ended;

    return WithLock([&]() -> platform::RegResult {
        const FileStamp unlocked = stamp_;
        if (!Refresh())
            return Broken();
        // Nobody wrote before the lock was taken: the change made outside it
        // stands. Otherwise it is made again on what the other writer left.
        if (!(stamp_ == unlocked)) {
            prepared = Prepare(change, import, TextFor(list, import, false));
            if (const auto ended = EndedBeforeWrite(prepared.get()))
                return *ended;
        }
        if (prepared->file || prepared->fileFault)
            return CommitFile(*prepared);
        return WriteCopy(prepared->outcome, std::move(prepared->text));
    });
}

platform::RegResult RegistryStore::CommitFile(Prepared& prepared)
{
    try {
        if (prepared.fileFault)
            throw *prepared.fileFault;
        prepared.file->Commit();
    } catch (const platform::CFileException& e) {
        return NotWritten(e);
    }
    // The text was never held: the next use reads the file just written.
    ForgetCopy();
    return prepared.outcome.result;
}

// The steps of ModifyLocked up to the write: what its lock would find anew
// is found again when the change is made.
platform::RegResult RegistryStore::CheckLocked(const Change& change, const ChangeList& list)
{
    checked_.reset();
    if (!Refresh())
        return Broken();
    const TextGoes goes = TextFor(&list, nullptr, true);
    auto prepared = Prepare(change, nullptr, goes);
    if (const auto ended = EndedBeforeWrite(prepared.get()))
        return *ended;
    const platform::RegResult locked = WithLock([] { return platform::RegResult{}; });
    // A change in place is cheap to prepare again. A rewrite of the whole
    // file is kept for the change, unless its list is long: then neither
    // the list's copy nor the text is worth holding, and it is made again.
    if (locked && goes == TextGoes::Held && !copy_->Index().storeCanonical)
        checked_.reset(new Checked{stamp_, list.values, list.emptyKeys, std::move(prepared)});
    return locked;
}

platform::RegResult RegistryStore::WriteCopy(const Outcome& outcome, std::string text)
{
    try {
        platform::WriteFileAtomically(path_, text);
    } catch (const platform::CFileException& e) {
        return NotWritten(e);
    }
    // The file now there is the one just written, and the copy matches it.
    platform::UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct ::stat st{};
    ForgetCopy();
    if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)
        || static_cast<std::size_t>(st.st_size) != text.size())
        return outcome.result;
    stamp_ = FileStamp::Of(st);
    copy_ = RegStoreText::Changed(std::move(text), RegText::InFile(std::move(fd), static_cast<std::size_t>(st.st_size), path_));
    state_ = CopyState::Current;
    return outcome.result;
}

// Beside the file itself, so that every link to it shares one lock.
std::string RegistryStore::LockPath() const
{
    return platform::FileBehindLinks(path_) + ".lock";
}

void RegistryStore::Exclusively(const std::function<void()>& work)
{
    const std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (exclusive_ > 0) {
        work();
        return;
    }
    std::optional<LockFile> lock;
    try {
        lock.emplace(LockPath());
    } catch (const platform::CFileException&) {
        // No lock: the changes of `work` find that out themselves.
    }
    struct Held {
        RegistryStore& store;
        explicit Held(RegistryStore& s, bool locked) : store(s)
        {
            ++store.exclusive_;
            store.lockHeld_ = locked;
        }
        ~Held()
        {
            --store.exclusive_;
            store.lockHeld_ = false;
        }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
    } held(*this, lock && lock->Held());
    work();
}

void RegistryStore::AsOneVersion(const std::function<void()>& work)
{
    const std::lock_guard<std::recursive_mutex> guard(mutex_);
    // Left as it was found however `work` ends.
    struct Depth {
        RegistryStore& store;
        explicit Depth(RegistryStore& s) : store(s)
        {
            if (store.oneVersion_++ == 0)
                store.versionFound_ = false;
        }
        ~Depth() { --store.oneVersion_; }
    } depth(*this);
    work();
}

void RegistryStore::ReadAhead(const std::vector<platform::RegValueRef>& values)
{
    const std::lock_guard<std::recursive_mutex> guard(mutex_);
    // A store that cannot be read has nothing to read ahead; the reads tell.
    if (!Refresh())
        return;
    versionFound_ = oneVersion_ > 0;
    std::vector<std::pair<std::size_t, std::string_view>> wanted;
    wanted.reserve(values.size());
    std::string identity;
    for (const platform::RegValueRef& value : values) {
        identity.clear();
        if (!AppendKeyIdentity(identity, value.root, value.subKey))
            continue;
        if (const auto key = copy_->Index().FindKey(identity))
            wanted.emplace_back(*key, value.name);
    }
    copy_->ReadAhead(wanted);
}

platform::Result<platform::RegValue, platform::RegFault> RegistryStore::QueryValue(platform::RegRoot root, std::string_view subKey, std::string_view name)
{
    const std::lock_guard<std::recursive_mutex> guard(mutex_);
    // A change in the work may have let the copy go: it is read again then.
    const bool found = oneVersion_ > 0 && versionFound_ && state_ == CopyState::Current;
    if (!found && !Refresh())
        return Broken();
    versionFound_ = oneVersion_ > 0;
    return Lookup(root, subKey, name);
}

platform::RegResult RegistryStore::SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name,
                                  const platform::RegValue& value)
{
    // As a list, which a check before it may have prepared.
    return ApplyChanges({{platform::ShareKey({root, std::string(subKey)}), std::string(name), value}}, {});
}

platform::RegResult RegistryStore::DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name)
{
    return Modify([&](RegStoreEdit& edit) {
        return Outcome::Of(edit.DeleteValue(root, subKey, name));
    });
}

platform::Result<bool, platform::RegFault> RegistryStore::DeleteEmptyKey(platform::RegRoot root, std::string_view subKey)
{
    bool removed = false;
    const platform::RegResult result = Modify([&](RegStoreEdit& edit) {
        removed = edit.DeleteEmptyKey(root, subKey);
        return Outcome{{}, removed};
    });
    if (!result)
        return result.Error();
    return removed;
}

namespace {

bool StorableNames(const std::vector<platform::RegValueChange>& values)
{
    return std::all_of(values.begin(), values.end(), [](const platform::RegValueChange& change) {
        return platform::IsStorableName(change.Key()->subKey) && platform::IsStorableName(change.Name());
    });
}

} // namespace

RegistryStore::Change RegistryStore::ChangesOf(const std::vector<platform::RegValueChange>& values,
                                               const std::vector<platform::RegKeyPath>& emptyKeys)
{
    return [&values, &emptyKeys](RegStoreEdit& edit) {
        const auto listed = edit.ApplyList(values);
        if (!listed)
            return Outcome{listed.Error(), false};
        bool changed = listed.Value();
        for (const platform::RegKeyPath& key : emptyKeys)
            changed = edit.DeleteEmptyKey(key.root, key.subKey) || changed;
        return Outcome{{}, changed};
    };
}

platform::RegResult RegistryStore::ApplyChanges(const std::vector<platform::RegValueChange>& values, const std::vector<platform::RegKeyPath>& emptyKeys)
{
    if (!StorableNames(values))
        return platform::RegError::WriteFailed;
    const ChangeList list{values, emptyKeys};
    return Modify(ChangesOf(values, emptyKeys), nullptr, &list);
}

platform::RegResult RegistryStore::CheckChanges(const std::vector<platform::RegValueChange>& values, const std::vector<platform::RegKeyPath>& emptyKeys)
{
    if (!StorableNames(values))
        return platform::RegError::WriteFailed;
    const Change change = ChangesOf(values, emptyKeys);
    const std::lock_guard<std::recursive_mutex> guard(mutex_);
    return CheckLocked(change, {values, emptyKeys});
}

platform::RegResult RegistryStore::DeleteKey(platform::RegRoot root, std::string_view subKey)
{
    return Modify([&](RegStoreEdit& edit) {
        return Outcome::Of(edit.DeleteKey(root, subKey));
    });
}

platform::Result<RegStoreText, regfile::RegFileError> RegistryStore::ReadImport(RegText file)
{
    const std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (Refresh())
        return RegStoreText::ImportInto(*copy_, std::move(file));
    return RegStoreText::ImportInto(RegStoreText::Empty(path_), std::move(file));
}

platform::RegResult RegistryStore::Import(RegStoreText& file)
{
    return Modify([](RegStoreEdit&) { return Outcome{{}, true}; }, &file);
}

} // namespace regstore
