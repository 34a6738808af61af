#pragma once
// A registry held in memory: the working copy of the file-backed store, and a
// fast registry for tests. Values are kept as raw bytes of any type and length.
//
// Comment lines of the store's file travel with the key or value that they
// precede, and with the end of the file, so that a rewrite keeps them.
#include "platform/Registry.h"
#include "regfile/RegEditTarget.h"
#include "platform/RegNames.h"

#include <array>
#include <cstddef>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class RegistryTree final : public IRegistry, public RegEditTarget {
public:
    // Values of one key, keyed by the name as first written.
    using ValueMap = std::map<std::string, RegValue, CaseInsensitiveLess>;
    using CommentMap = std::map<std::string, Comments, CaseInsensitiveLess>;

    RegistryTree();
    ~RegistryTree() override;
    RegistryTree(RegistryTree&&) noexcept;
    RegistryTree& operator=(RegistryTree&&) noexcept;

    Result<RegValue, RegFault> QueryValue(RegRoot root, std::string_view subKey,
                                          std::string_view name) override;
    RegResult SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                       const RegValue& value) override;
    RegResult DeleteValue(RegRoot root, std::string_view subKey, std::string_view name) override;
    Result<bool, RegFault> DeleteEmptyKey(RegRoot root, std::string_view subKey) override;

    // The stored value itself, or null; no copy.
    const RegValue* FindValue(RegRoot root, std::string_view subKey, std::string_view name) const;
    bool KeyExists(RegRoot root, std::string_view subKey) const;

    RegResult CreateKey(RegRoot root, std::string_view subKey) override;
    RegResult DeleteKey(RegRoot root, std::string_view subKey) override;

    // Comment lines are added after those already there. A value's comments
    // go when the value goes; nothing is added to a key or value not there.
    void AddKeyComments(RegRoot root, std::string_view subKey, const Comments& lines) override;
    void AddValueComments(RegRoot root, std::string_view subKey, std::string_view name,
                          const Comments& lines) override;
    void AddClosingComments(const Comments& lines) override;
    const Comments& ClosingComments() const { return closingComments_; }

    // One key as visited: its values and the comments before it and them.
    struct KeyView {
        const ValueMap& values;
        const Comments& comments;
        const CommentMap& valueComments;
    };
    // Every key in a stable order: each root, then its keys depth first,
    // siblings in case-insensitive order. `path` joins the key names with
    // single backslashes and is empty for a root.
    using KeyVisitor = std::function<void(RegRoot root, const std::string& path, const KeyView& key)>;
    void ForEachKey(const KeyVisitor& visit) const;

    std::size_t ValueCount() const;

private:
    struct Node;
    Node* Root(RegRoot root) const;
    static Node* Descend(Node* node, std::span<const std::string_view> names);
    Node* Find(RegRoot root, std::string_view subKey) const;
    Node* FindOrCreate(RegRoot root, std::string_view subKey);

    std::array<std::unique_ptr<Node>, std::size(kRegRoots)> roots_;
    Comments closingComments_;
};

} // namespace tk
