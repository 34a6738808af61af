#pragma once
// A change to the store's file being prepared: the keys it writes anew, as
// they will read, and the keys it removes. The new text keeps every other
// byte of the old one: a changed key's section is written anew in its place, a
// new key goes where a rewrite would put it, and a removed key goes with the
// blank lines and comments before it.
#include "regfile/RegEditTarget.h"
#include "regstore/RegStoreText.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tk {

class RegStoreEdit final : public RegEditTarget {
public:
    // Every section of `text` must parse (RegStoreText::CheckAll).
    explicit RegStoreEdit(RegStoreText& text);

    // The value as the change leaves it so far, or null; no copy.
    const RegValue* FindValue(RegRoot root, std::string_view subKey, std::string_view name);

    RegResult CreateKey(RegRoot root, std::string_view subKey) override;
    RegResult DeleteKey(RegRoot root, std::string_view subKey) override;
    RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                       const RegValue& value) override;
    RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override;
    // Removes the key if it holds no value and no key, as the change leaves
    // it so far: true. A root is never removed.
    bool DeleteEmptyKey(RegRoot root, std::string_view subKey);

    std::string NewText() const;

    // The first fault met in a key's section that the change needed: the
    // change's results mean nothing then.
    const std::optional<RegFileError>& Fault() const { return fault_; }

private:
    struct IdentityOrder {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    bool Exists(std::string_view identity) const;
    bool HoldsAnything(std::string_view identity);
    // The key as the change leaves it so far: null when it has no section,
    // as a root may have none.
    const StoredKey* Current(std::string_view identity);
    const StoredKey* Stored(std::string_view identity);
    // The key's copy in the change, made from the file's on first use.
    StoredKey& Editable(RegRoot root, std::string_view identity);

    // A key written anew, or removed; or removed and then made again, which
    // takes its comments away as removing it does.
    struct KeyChange {
        std::optional<StoredKey> key;
        bool removed = false;
    };

    RegStoreText& text_;
    std::map<std::string, KeyChange, IdentityOrder> changes_;
    std::optional<RegFileError> fault_;
};

} // namespace tk
