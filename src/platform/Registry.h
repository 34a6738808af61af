#pragma once
// The registry as a platform service. Implementations: the Windows registry
// (win32 backend) and the REGEDIT4 text-file store (regstore/) used on Linux.
//
// Sub-keys are given below a root, without the root name. A separator may be
// written as one backslash or as two: both name the same key, as on Windows.
// A sub-key that starts with a backslash names no key, as Windows refuses it.
// Key and value names compare case-insensitively and keep their spelling.
#include "platform/Result.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Every standard root with its name, in the order of the Windows handle
// values; a root's place here is its enumerator's value.
struct RegRootName {
    RegRoot root;
    std::string_view name;
};
inline constexpr RegRootName kRegRoots[] = {
    {RegRoot::ClassesRoot, "HKEY_CLASSES_ROOT"}, {RegRoot::CurrentUser, "HKEY_CURRENT_USER"},
    {RegRoot::LocalMachine, "HKEY_LOCAL_MACHINE"}, {RegRoot::Users, "HKEY_USERS"},
    {RegRoot::CurrentConfig, "HKEY_CURRENT_CONFIG"},
};

// The Windows value type numbers, so that files and the real registry agree.
enum class RegType : std::uint32_t {
    None = 0,
    Sz = 1,
    ExpandSz = 2,
    Binary = 3,
    Dword = 4,
    DwordBigEndian = 5,
    Link = 6,
    MultiSz = 7,
    ResourceList = 8,
    Qword = 11,
};

// A value exactly as stored: its type and raw bytes. REG_SZ data carry their
// terminating zero byte, as the Windows registry returns them.
struct RegValue {
    RegType type = RegType::None;
    std::vector<std::uint8_t> data;

    static RegValue String(std::string_view text);
    static RegValue Dword(std::uint32_t value);

    // Same type, same bytes.
    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// A value as an exact copy (a backup) needs it. `utf16`: the system code page
// cannot carry the text of this text-typed value (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ), so `value.data` holds the registry's wide form, UTF-16LE
// with its terminating zero units; otherwise the data are as QueryValue gives
// them.
struct ExactRegValue {
    RegValue value;
    bool utf16 = false;
};

enum class RegError {
    KeyNotFound,    // the key cannot be opened because it does not exist
    ValueNotFound,  // the key exists, the value does not
    BadKeyPath,     // the sub-key starts with a separator: it names no key
    AccessDenied,   // the key exists but may not be opened or changed
    StoreBroken,    // the backing store cannot be read or parsed
    WriteFailed,    // the change could not be made durable
};

// Why a read or a change failed: its kind, and in `cause` what went wrong in
// the registry's own words where it has more to say than the kind ("the
// registry store "FILE" is read-only"), for the message of the caller that
// asked, which alone tells the user.
struct RegFault {
    RegError error = RegError::WriteFailed;
    std::string cause;

    RegFault(RegError kind, std::string why = {}) : error(kind), cause(std::move(why)) {}
    friend bool operator==(const RegFault& fault, RegError kind) { return fault.error == kind; }
};

// What a change reports: done, or why not.
using RegResult = Result<void, RegFault>;

// A key: its root and the sub-key below it.
struct RegKeyPath {
    RegRoot root = RegRoot::CurrentUser;
    std::string subKey;
};

// A value named by its key and its name, for a moment.
struct RegValueRef {
    RegRoot root;
    std::string_view subKey;
    std::string_view name;
};

// A key that many values share: a profile or a backup of a large key names
// its key once for all of its values, not once for each of them.
using SharedKeyPath = std::shared_ptr<const RegKeyPath>;

inline SharedKeyPath ShareKey(RegKeyPath key)
{
    return std::make_shared<const RegKeyPath>(std::move(key));
}

// A value to set, or to remove when it holds none (HasValue). `Utf16` as
// ExactRegValue has it: the value's text in the registry's wide form. The
// key is never null. The name and the data lie in one buffer of their own,
// not in a string and a vector each, and a short name with short data (a
// dword, say) in the change itself, with no buffer: a profile or an undo
// holds hundreds of thousands of changes at once, and an allocation of a few
// bytes costs the allocator three times that.
class RegValueChange {
public:
    RegValueChange(SharedKeyPath key, std::string_view name, const std::optional<RegValue>& value,
                   bool utf16 = false);
    RegValueChange(const RegValueChange& other);
    // A change moved from names nothing and removes nothing: no size is left
    // over without its buffer.
    RegValueChange(RegValueChange&& other) noexcept;
    RegValueChange& operator=(const RegValueChange& other);
    RegValueChange& operator=(RegValueChange&& other) noexcept;
    ~RegValueChange();

    const SharedKeyPath& Key() const { return key_; }
    std::string_view Name() const { return {Bytes(), nameSize_}; }
    bool HasValue() const { return hasValue_; }
    bool Utf16() const { return utf16_; }
    // The value to set, made from the buffer; none for a removal.
    std::optional<RegValue> Value() const;
    // Whether the change sets exactly `value` (same type, same bytes), without
    // making a copy of its own.
    bool Sets(const RegValue& value) const;
    // Whether both set the same value, or both remove theirs.
    bool SetsAs(const RegValueChange& other) const;
    // A later line for the same value: its data, with this change's key and
    // the name as first spelled.
    void TakeValueOf(const RegValueChange& later);

private:
    // Name and data of this many bytes together lie in room_, where a
    // buffer's address would: the change stays 40 bytes.
    static constexpr std::size_t kRoom = 11;

    static bool Fits(std::size_t bytes) { return bytes <= kRoom; }
    const char* Bytes() const;
    std::string_view Data() const { return {Bytes() + nameSize_, dataSize_}; }
    void Fill(std::string_view name, std::string_view data);
    // Frees the buffer, if the bytes have one, and leaves no bytes.
    void Release();
    // Takes `other`'s bytes and leaves it without any.
    void TakeBytes(RegValueChange& other);

    SharedKeyPath key_;
    // The name, then the data, when they fit; else the address of their
    // buffer, aligned as an address is, so that a leak checker finds it.
    alignas(char*) char room_[kRoom];
    bool hasValue_ : 1 = false;
    bool utf16_ : 1 = false;
    std::uint32_t nameSize_ = 0;
    std::uint32_t dataSize_ = 0;
    RegType type_ = RegType::None;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // The value's presence, type and bytes.
    virtual Result<RegValue, RegFault> QueryValue(RegRoot root, std::string_view subKey,
                                                  std::string_view name) = 0;

    // The value for an exact copy. A registry whose text is all in the code
    // page (the text-file store) gives what QueryValue gives.
    virtual Result<ExactRegValue, RegFault> QueryExactValue(RegRoot root, std::string_view subKey,
                                                            std::string_view name);

    // Creates the key and every missing key above it, then sets the value,
    // replacing one of another type. An empty sub-key names the root itself.
    virtual RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                               const RegValue& value) = 0;

    // Whether a text value may be set in its wide form (SetWideValue): the
    // Windows registry holds any text, the text-file store only what its
    // code page carries.
    virtual bool HoldsWideText() const;

    // SetValue for a text-typed value whose data are its wide form, UTF-16LE
    // with its terminating zero units, so that text beyond the code page
    // lands exactly. A registry that does not hold wide text refuses it.
    virtual RegResult SetWideValue(RegRoot root, std::string_view subKey, std::string_view name,
                                   const RegValue& wide);

    // KeyNotFound / ValueNotFound when there was nothing to delete.
    virtual RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) = 0;

    // Removes the key if it holds no value and no key: true. False when it
    // holds something or is not there, and for a root; nothing changes then.
    virtual Result<bool, RegFault> DeleteEmptyKey(RegRoot root, std::string_view subKey) = 0;

    // One change of many values: sets and removes `values` in order (a value
    // to remove that is not there is no fault), then removes each of
    // `emptyKeys` that holds nothing by then, in order, so deeper keys go
    // first. All of it, or, when a step fails, none of it: this default puts
    // back every value it had changed (exactly, a wide text as one) and
    // removes the keys its writes made, as far as the registry lets it; a
    // registry that can make the change at once (the text-file store) does so.
    virtual RegResult ApplyChanges(const std::vector<RegValueChange>& values, const std::vector<RegKeyPath>& emptyKeys);
    // Whether ApplyChanges would make the change, as far as the registry can
    // tell without making it. A change refused for what it is (a store that
    // cannot be locked or would grow past what it may read, a key whose
    // section cannot be read) is refused here, before its backup is written,
    // so that each retry does not leave another backup of values that never
    // changed. This default can tell nothing: such a registry fails, if at
    // all, in ApplyChanges.
    virtual RegResult CheckChanges(const std::vector<RegValueChange>& values,
                                   const std::vector<RegKeyPath>& emptyKeys);
    // Runs `work`, whose reads and changes of this registry then form one
    // step that no other writer comes between: saving reads the value that
    // its backup keeps and writes the new one in it. A registry without such
    // a lock (the Windows registry, a tree in memory) only runs `work`. An
    // exception of `work` leaves it.
    virtual void Exclusively(const std::function<void()>& work);
    // Runs `work`, whose reads may all see the version of the registry that
    // the first of them found: a listing of thousands of values then does not
    // ask, for each, whether another process has changed the registry since.
    // Changes are not affected: they look again, under their lock. A registry
    // that reads each value from the system (the Windows registry, a tree in
    // memory) only runs `work`.
    virtual void AsOneVersion(const std::function<void()>& work);
    // Tells the registry the values that the reads to come will ask for, so
    // that one read from a file reads them in the file's order, neighbours
    // together: a few large reads for thousands of small ones. Only a hint:
    // each read still finds what it asks. A registry that asks the system for
    // each value (the Windows registry, a tree in memory) does nothing.
    virtual void ReadAhead(const std::vector<RegValueRef>& values);
};

// The outermost key on the way to `key` that is not there (its parent is),
// its sub-key with single separators; nothing when `key` is there. Fails when
// the registry cannot say, or `key` names no key.
Result<std::optional<RegKeyPath>, RegFault> FirstMissingKey(IRegistry& registry, const RegKeyPath& key);

inline std::string_view RootName(RegRoot root)
{
    return kRegRoots[static_cast<int>(root)].name;
}

} // namespace platform
