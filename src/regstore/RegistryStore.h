#pragma once
// The registry on platforms without one: a REGEDIT4 text file (see RegFile.h).
//
// Reads come from the index of a version of the file that is indexed again
// only when the file has changed (another inode, size, modification or change
// time), so a warm read costs one stat. The first read of a version indexes
// its key sections in one pass (RegFileIndex.h), whatever their order; a
// key's sections are read from the file, kept open, when a read first needs
// them, and only their lines that may hold the value asked for are parsed,
// so the store holds its index and the values read, not the file's bytes. Every change locks "<path>.lock", re-reads the file inside
// the lock if it has changed, checks that all of it parses, and replaces the
// file atomically with a text in which only the changed keys' sections differ
// or, for a file not in canonical form, with the whole text rewritten
// (RegStoreEdit.h); changes from several processes therefore lose nothing.
// Every writer must replace the file by rename, never rewrite it in place.
//
// A missing file is an empty registry and is created by the first change; a
// change that changes nothing creates neither the file nor its lock. A file
// that cannot be read, that is no regular file (a pipe, a folder, a device) or
// that is larger than the store's limit (256 MB), and a fault in its first
// line, in a key line or before the first key, make the whole store unusable:
// reads answer StoreBroken. A change whose text would be larger than the
// limit is refused before anything is written, as no store could read it. A
// fault in a value's lines makes the reads of that value answer StoreBroken.
// A file with any fault is never overwritten: changes are refused until it is
// mended. A read or a change that meets a fault, or a
// change that fails on a read-only file say, leaves the file as it was and
// says why in its result, naming the file and, where it has them, the line
// (RegFault); the caller that asked tells the user, so the store shows nothing
// itself.
#include "platform/Registry.h"
#include "platform/posix/UniqueFd.h"
#include "regstore/RegStoreText.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace platform { class CFileException; }
namespace regstore {

class RegStoreEdit;

class RegistryStore final : public platform::IRegistry {
public:
    // `maxBytes`: the largest file it reads and writes.
    explicit RegistryStore(std::string path, std::size_t maxBytes = regfile::kMaxRegStoreBytes);
    ~RegistryStore() override;

    // The store of a program's whole run, never destroyed: the process end
    // frees its copy of the file, the index and the keys parsed from it at
    // once, where a destructor would free them piece by piece. A static
    // pointer keeps it reachable, so a leak checker does not count it. The
    // first call's `path` names it; later calls return the same store.
    static RegistryStore& ForProcess(std::string path);
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(platform::RegRoot root, std::string_view subKey,
                                          std::string_view name) override;
    platform::RegResult SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name,
                       const platform::RegValue& value) override;
    platform::RegResult DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name) override;
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(platform::RegRoot root, std::string_view subKey) override;
    // As one change of the file: written whole, or not at all.
    platform::RegResult ApplyChanges(const std::vector<platform::RegValueChange>& values, const std::vector<platform::RegKeyPath>& emptyKeys) override;
    // The change prepared on the store's text as ApplyChanges would make it,
    // and the lock of changes tried, with nothing written.
    platform::RegResult CheckChanges(const std::vector<platform::RegValueChange>& values, const std::vector<platform::RegKeyPath>& emptyKeys) override;

    // Holds the lock of changes, "<path>.lock", while `work` runs (making the
    // lock file where there is none), so that what `work` reads is what its
    // changes replace, whatever other processes do. A lock that cannot be
    // taken leaves `work` to run without it: its changes then try the lock
    // themselves and fail as they would.
    void Exclusively(const std::function<void()>& work) override;
    // Its reads look at the file once; a change looks again, as always.
    void AsOneVersion(const std::function<void()>& work) override;
    void ReadAhead(const std::vector<platform::RegValueRef>& values) override;

    // Removes a key with everything below it; a root cannot be removed.
    platform::RegResult DeleteKey(platform::RegRoot root, std::string_view subKey);

    // A registry file to import, a backup being restored say, checked whole
    // and indexed after the store's text as it is now (RegStoreText::
    // ImportInto), so that its Import indexes nothing again unless the store
    // has changed meanwhile. A fault names the file and its line; a store
    // that cannot be read is the Import's to tell.
    platform::Result<RegStoreText, regfile::RegFileError> ReadImport(RegText file);
    // Applies a file that ReadImport read, of this store or another, as one
    // change: all of it or, when the store cannot be written, none of it.
    // Its keys are written one at a time to the store's temporary file as
    // the new text is made, so a large file costs little more than its
    // bytes, in time and in memory; its comment lines are not taken over.
    platform::RegResult Import(RegStoreText& file);

    const std::string& Path() const { return path_; }

private:
    // What identifies one version of the file. Writers replace the file by
    // rename, so a new version has a new inode; the parsed version's file is
    // kept open so that its inode cannot be reused meanwhile.
    struct FileStamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const FileStamp& other) const;
        static FileStamp Of(const struct ::stat& st);
    };
    enum class CopyState { Stale, Current, Broken };
    // The change's outcome; `changed` says whether the file must be rewritten.
    struct Outcome {
        platform::RegResult result;
        bool changed;
        // A change to the tree that succeeded has changed it.
        static Outcome Of(platform::RegResult result)
        {
            const bool changed = result.HasValue();
            return Outcome{result, changed};
        }
    };
    using Change = std::function<Outcome(RegStoreEdit&)>;
    struct Prepared;
    // The values and empty keys of ApplyChanges or CheckChanges.
    struct ChangeList {
        const std::vector<platform::RegValueChange>& values;
        const std::vector<platform::RegKeyPath>& emptyKeys;
    };
    struct Checked;

    bool Refresh();
    bool Load(platform::UniqueFd file, const struct ::stat& st);
    bool Refuse(platform::UniqueFd file, const struct ::stat& st, const std::string& fault);
    void UseEmptyRegistry();
    // The fault met last, the cause of the next StoreBroken.
    void Note(const std::string& fault);
    platform::RegFault Broken() const;
    platform::RegFault NotWritten(const platform::CFileException& e);
    std::string LockPath() const;
    void ForgetCopy();
    platform::Result<platform::RegValue, platform::RegFault> Lookup(platform::RegRoot root, std::string_view subKey, std::string_view name);
    // Where a prepared change's new text goes: held whole, to become the
    // copy once written; to the temporary file as it is made; or nowhere,
    // measured only, for a check.
    enum class TextGoes { Held, ToFile, Measured };
    // The change prepared on the copy, with `import` after it when there is
    // one, and its new text; null, its fault noted, when the store is broken where
    // the change needs it or, for a change that changes something, anywhere.
    std::unique_ptr<Prepared> Prepare(const Change& change, RegStoreText* import, TextGoes goes);
    // Where the text of a change goes: an import's and a long list's are not
    // held; `check` measures one that a change would write.
    TextGoes TextFor(const ChangeList* list, const RegStoreText* import, bool check) const;
    platform::RegResult Modify(const Change& change, RegStoreText* import = nullptr, const ChangeList* list = nullptr);
    // `list`: the change as a list, when it is one, which a check of the same
    // list may have prepared already.
    platform::RegResult ModifyLocked(const Change& change, RegStoreText* import, const ChangeList* list);
    platform::RegResult CheckLocked(const Change& change, const ChangeList& list);
    // ApplyChanges' change of the store's text; the vectors must outlive it.
    static Change ChangesOf(const std::vector<platform::RegValueChange>& values, const std::vector<platform::RegKeyPath>& emptyKeys);
    // Runs `step` holding the lock of changes, which it takes unless
    // Exclusively holds it; a lock that cannot be taken is the fault.
    platform::RegResult WithLock(const std::function<platform::RegResult()>& step);
    platform::RegFault TooLarge() const;
    // What ends a prepared change before its write: a broken store, a change
    // that changes nothing, a text too large to read back; nothing when it
    // is to be written.
    std::optional<platform::RegResult> EndedBeforeWrite(const Prepared* prepared) const;
    platform::RegResult WriteCopy(const Outcome& outcome, std::string text);
    // A change whose text is not held: written to the temporary file, or
    // measured, as it is made; an import's compared with the store's text on
    // the way. And that file given the store's name.
    std::unique_ptr<Prepared> Streamed(RegStoreEdit& edit, std::unique_ptr<Prepared> prepared, TextGoes goes,
                                       bool compare);
    platform::RegResult CommitFile(Prepared& prepared);

    std::string path_;
    std::size_t maxBytes_;
    // Recursive: the reads and changes that Exclusively's work makes take it
    // again.
    std::recursive_mutex mutex_;
    int exclusive_ = 0;     // how deep in Exclusively's work this thread is
    bool lockHeld_ = false; // Exclusively holds the lock of changes
    int oneVersion_ = 0;    // how deep in AsOneVersion's work the store is
    bool versionFound_ = false; // a read in that work has found the copy current
    std::optional<RegStoreText> copy_;
    CopyState state_ = CopyState::Stale;
    FileStamp stamp_;
    // The file of a version refused or of no bytes; the copy holds any other.
    platform::UniqueFd openFile_;
    std::string lastFault_;
    // The rewrite that the last check prepared, for the change that follows
    // it: saving checks, writes its backup, then makes the same change, and
    // the rewrite of a whole file not in canonical form is that change's
    // cost. Dropped by the next change, made or not.
    std::unique_ptr<Checked> checked_;
};

} // namespace regstore
