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

namespace regfile {

class RegistryTree final : public platform::IRegistry, public RegEditTarget {
public:
    // Values of one key, keyed by the name as first written.
    using ValueMap = std::map<std::string, platform::RegValue, platform::CaseInsensitiveLess>;
    using CommentMap = std::map<std::string, Comments, platform::CaseInsensitiveLess>;

    RegistryTree();
    ~RegistryTree() override;
    RegistryTree(RegistryTree&&) noexcept;
    RegistryTree& operator=(RegistryTree&&) noexcept;

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(platform::RegRoot root, std::string_view subKey,
                                                                        std::string_view name) override;
    platform::RegResult SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name,
                                 const platform::RegValue& value) override;
    platform::RegResult DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name) override;
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(platform::RegRoot root, std::string_view subKey) override;

    // The stored value itself, or null; no copy.
    const platform::RegValue* FindValue(platform::RegRoot root, std::string_view subKey, std::string_view name) const;
    bool KeyExists(platform::RegRoot root, std::string_view subKey) const;

    platform::RegResult CreateKey(platform::RegRoot root, std::string_view subKey) override;
    platform::RegResult DeleteKey(platform::RegRoot root, std::string_view subKey) override;

    // Comment lines are added after those already there. A value's comments
    // go when the value goes; nothing is added to a key or value not there.
    void AddKeyComments(platform::RegRoot root, std::string_view subKey, const Comments& lines) override;
    void AddValueComments(platform::RegRoot root, std::string_view subKey, std::string_view name,
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
    using KeyVisitor = std::function<void(platform::RegRoot root, const std::string& path, const KeyView& key)>;
    void ForEachKey(const KeyVisitor& visit) const;

    std::size_t ValueCount() const;

private:
    struct Node;
    Node* Root(platform::RegRoot root) const;
    static Node* Descend(Node* node, std::span<const std::string_view> names);
    Node* Find(platform::RegRoot root, std::string_view subKey) const;
    Node* FindOrCreate(platform::RegRoot root, std::string_view subKey);

    std::array<std::unique_ptr<Node>, std::size(platform::kRegRoots)> roots_;
    Comments closingComments_;
};

} // namespace regfile
