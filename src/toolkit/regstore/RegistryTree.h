#pragma once
// A registry held in memory: the working copy of the file-backed store, and a
// fast registry for tests. Values are kept as raw bytes of any type and length.
#include "toolkit/Registry.h"
#include "toolkit/regstore/RegNames.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tk {

class RegistryTree final : public IRegistry {
public:
    // Values of one key, keyed by the name as first written.
    using ValueMap = std::map<std::string, RegValue, CaseInsensitiveLess>;

    RegistryTree();
    ~RegistryTree() override;
    RegistryTree(RegistryTree&&) noexcept;
    RegistryTree& operator=(RegistryTree&&) noexcept;

    Result<RegValue, RegError> QueryValue(RegRoot root, std::string_view subKey,
                                          std::string_view name) override;
    RegStatus SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                       const RegValue& value) override;
    RegStatus DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override;

    // The stored value itself, or null; no copy.
    const RegValue* FindValue(RegRoot root, std::string_view subKey, std::string_view name) const;
    bool KeyExists(RegRoot root, std::string_view subKey) const;

    // Creates the key and every missing key above it.
    void CreateKey(RegRoot root, std::string_view subKey);

    // Removes the key with its values and all keys below it. A root cannot be
    // removed: AccessDenied, and nothing changes.
    RegStatus DeleteKey(RegRoot root, std::string_view subKey);

    // Every key in a stable order: each root, then its keys depth first,
    // siblings in case-insensitive order. `path` joins the key names with
    // single backslashes and is empty for a root.
    using KeyVisitor = std::function<void(RegRoot root, const std::string& path, const ValueMap& values)>;
    void ForEachKey(const KeyVisitor& visit) const;

    std::size_t ValueCount() const;

private:
    struct Node;
    Node* Root(RegRoot root) const;
    static Node* Descend(Node* node, std::span<const std::string_view> names);
    Node* Find(RegRoot root, std::string_view subKey) const;
    Node* FindOrCreate(RegRoot root, std::string_view subKey);

    std::unique_ptr<Node> currentUser_;
    std::unique_ptr<Node> localMachine_;
};

} // namespace tk
