#pragma once
// A change to the store's file being prepared: the keys it writes anew, as
// they will read, and the keys it removes. In a file in canonical form the
// new text keeps every other byte of the old one: a changed key's section is
// written anew in its place, a new key goes where a rewrite would put it, and
// a removed key goes with the blank lines and comments before it. Any other
// file is rewritten whole in canonical form, its comments kept, one key at a
// time, so that no more than one key's values are parsed at once.
//
// On a text that has a file to import after the store's
// (RegStoreText::WithImport), the change is that file: the keys it changes
// are found from the index and written one at a time as a rewrite writes
// them, their lines in the form written copied, not parsed.
#include "platform/Registry.h"
#include "regstore/RegStoreText.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace regstore {

class RegStoreEdit final {
public:
    explicit RegStoreEdit(RegStoreText& text);

    // Sets and removes the values of a list as changing them one at a time
    // in its order would: a value set makes its key and every missing key
    // above it, and each value changes only where it differs (a value to
    // remove that is not there is left alone). Whether anything changed; sub-
    // keys and names as in Registry.h. Each key's values are applied in one go, and the keys that
    // change are not copied: their text is made again from the list when the
    // new text is written, so a list of many values costs a few bytes for
    // each of its keys while it waits. An edit takes one list, before any
    // other change; `values` must outlive it.
    platform::Result<bool, platform::RegFault> ApplyList(const std::vector<platform::RegValueChange>& values);

    // The value as the change leaves it so far, or null; no copy.
    const platform::RegValue* FindValue(platform::RegRoot root, std::string_view subKey, std::string_view name);

    // Sub-keys and names as in Registry.h. Removing a key takes its values
    // and every key below it; a root cannot be removed (AccessDenied).
    platform::RegResult DeleteKey(platform::RegRoot root, std::string_view subKey);
    platform::RegResult DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name);
    // Removes the key if it holds no value and no key, as the change leaves
    // it so far: true. A root is never removed.
    bool DeleteEmptyKey(platform::RegRoot root, std::string_view subKey);

    // The file's new text; nullopt when a key it needs does not parse (then
    // Fault() says where), or when the text would be longer than `limit`.
    std::optional<std::string> NewText(std::size_t limit);
    // The same text handed to `sink` a piece at a time, in order, as it is
    // made, so that it is never held whole: false where NewText gives
    // nullopt, and what `sink` took then is no text to keep.
    using TextSink = std::function<void(std::string_view piece)>;
    bool WriteNewText(std::size_t limit, const TextSink& sink);

    // The first fault met in a key's section that the change needed: the
    // change's results mean nothing then.
    const std::optional<regfile::RegFileError>& Fault() const { return fault_; }

private:
    struct IdentityOrder {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    // The list's values of one key: runs of neighbours in the list, in order.
    struct ListRun {
        std::uint32_t begin = 0;
        std::uint32_t end = 0;
    };
    // A key that a list changes: the list's runs runs_[firstRun, firstRun +
    // runCount), applied to the key as it was before them.
    struct Listed {
        std::uint32_t firstRun = 0;
        std::uint32_t runCount = 0;
        bool holdsValues = false;
    };
    // A key written anew, or removed; or removed and then made again, which
    // takes its comments away as removing it does. Before its values it is
    // its copy, edited a value at a time; or a key made anew, of no values;
    // or, with neither, the file's key. A listed key's values are those with
    // the list's runs applied.
    struct KeyChange {
        std::unique_ptr<StoredKey> key;
        std::string path; // a key made anew: the spelling of its path
        std::optional<Listed> listed;
        platform::RegRoot root = platform::RegRoot::CurrentUser;
        bool removed = false;
        bool made = false; // made anew

        bool Exists() const { return key || listed || made; }
    };

    platform::RegResult CreateKey(platform::RegRoot root, std::string_view subKey);
    bool Exists(std::string_view identity) const;
    bool HoldsAnything(std::string_view identity);
    // The key as the change leaves it so far: null when it has no section,
    // as a root may have none.
    const StoredKey* Current(std::string_view identity);
    const StoredKey* Stored(std::string_view identity);
    // The spelling of an existing key's path, its values not parsed;
    // nullopt on a fault.
    std::optional<std::string> PathOf(std::string_view identity);
    // The key's copy in the change, made from the file's on first use.
    StoredKey& Editable(platform::RegRoot root, std::string_view identity);
    // The key before its listed runs; nullopt on a fault (then Fault()).
    std::optional<StoredKey> Base(std::string_view identity, const KeyChange& change);
    // A listed key as the change leaves it; nullopt on a fault (then Fault()).
    std::optional<StoredKey> FromList(std::string_view identity, const KeyChange& change);
    // The key's copy made, from the list or as made anew, for a change that
    // edits it further.
    void Materialize(std::string_view identity, KeyChange& change);
    // The key as the change leaves it, its copy or made from the list into
    // `made`: null when it is removed or on a fault (then Fault()).
    const StoredKey* Final(std::string_view identity, const KeyChange& change, std::optional<StoredKey>& made);
    // Applies runs of the list to a copy of a key: whether a value changed,
    // and where the first value set lies in the list.
    struct ListEffect {
        bool changed = false;
        std::optional<std::uint32_t> firstSet;
    };
    ListEffect ApplyRuns(StoredKey& key, const Listed& listed) const;

    class Output;

    void KeepFirstFault(regfile::RegFileError met);
    bool Write(std::size_t limit, Output& output);
    bool Splice(std::size_t limit, Output& output);
    bool Rewrite(std::size_t limit, Output& output);

    RegStoreText& text_;
    std::map<std::string, KeyChange, IdentityOrder> changes_;
    const std::vector<platform::RegValueChange>* list_ = nullptr;
    std::vector<ListRun> runs_; // by key, each key's in the list's order
    std::optional<regfile::RegFileError> fault_;
};

} // namespace regstore
