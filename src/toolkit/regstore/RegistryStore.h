#pragma once
// The registry on platforms without one: a REGEDIT4 text file (see RegFile.h).
//
// Reads come from a parsed copy that is refreshed only when the file has
// changed (another inode, size, modification or change time), so a warm read
// costs one stat. Every change locks "<path>.lock", re-reads the file inside
// the lock, applies the change and replaces the file atomically; changes from
// several processes therefore lose nothing. Every writer must replace the file
// by rename, never rewrite it in place.
//
// A missing file is an empty registry and is created by the first change; a
// change that changes nothing creates neither the file nor its lock. A file
// that cannot be read or parsed, that is no regular file (a pipe, a folder, a
// device) or that is larger than 256 MB is never overwritten: its fault is
// reported once through ReportError, reads answer StoreBroken and changes are
// refused until the file is mended. A change that cannot be written, to a
// read-only file say, leaves the file as it was and is reported naming it.
#include "toolkit/Registry.h"
#include "toolkit/posix/UniqueFd.h"
#include "toolkit/regstore/RegistryTree.h"

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace tk {

struct RegFileDocument;

class RegistryStore final : public IRegistry {
public:
    explicit RegistryStore(std::string path);
    ~RegistryStore() override;
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    Result<RegValue, RegError> QueryValue(RegRoot root, std::string_view subKey,
                                          std::string_view name) override;
    RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                       const RegValue& value) override;
    RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override;

    // Removes a key with everything below it; a root cannot be removed.
    RegResult DeleteKey(RegRoot root, std::string_view subKey);

    // Applies a parsed REGEDIT4 file, a backup being restored say, as one
    // change: all of it or, when the store cannot be written, none of it.
    // Its comment lines are not taken over.
    RegResult Import(const RegFileDocument& changes);

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
        RegResult result;
        bool changed;
        // A change to the tree that succeeded has changed it.
        static Outcome Of(RegResult result)
        {
            const bool changed = result.HasValue();
            return Outcome{result, changed};
        }
    };
    using Change = std::function<Outcome(RegistryTree&)>;

    bool Refresh();
    bool Load(UniqueFd file, const struct ::stat& st);
    bool Refuse(UniqueFd file, const struct ::stat& st, const std::string& fault);
    void UseEmptyRegistry();
    void Report(std::string_view lead, const std::string& fault);
    void ShowReport();
    void ForgetCopy();
    RegResult Modify(const Change& change);
    RegResult ModifyLocked(const Change& change);
    RegResult WriteCopy(const Outcome& outcome);

    std::string path_;
    std::mutex mutex_;
    RegistryTree tree_;
    CopyState state_ = CopyState::Stale;
    FileStamp stamp_;
    UniqueFd openFile_;
    std::string reportedFault_;
    // Shown only once the mutex is released: the error box may run a message
    // loop whose timer reads the registry again.
    std::string unshownReport_;
};

} // namespace tk
