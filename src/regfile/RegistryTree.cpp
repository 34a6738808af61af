#include "regfile/RegistryTree.h"

namespace regfile {

struct RegistryTree::Node {
    std::map<std::string, std::unique_ptr<Node>, platform::CaseInsensitiveLess> children;
    ValueMap values;
    Comments comments;
    CommentMap valueComments;
};

RegistryTree::RegistryTree()
{
    for (auto& root : roots_)
        root = std::make_unique<Node>();
}

RegistryTree::~RegistryTree() = default;
RegistryTree::RegistryTree(RegistryTree&&) noexcept = default;
RegistryTree& RegistryTree::operator=(RegistryTree&&) noexcept = default;

RegistryTree::Node* RegistryTree::Root(platform::RegRoot root) const
{
    return roots_[static_cast<std::size_t>(root)].get();
}

RegistryTree::Node* RegistryTree::Descend(Node* node, std::span<const std::string_view> names)
{
    for (std::string_view name : names) {
        const auto it = node->children.find(name);
        if (it == node->children.end())
            return nullptr;
        node = it->second.get();
    }
    return node;
}

RegistryTree::Node* RegistryTree::Find(platform::RegRoot root, std::string_view subKey) const
{
    const auto names = platform::SplitKeyPath(subKey);
    return names ? Descend(Root(root), *names) : nullptr;
}

RegistryTree::Node* RegistryTree::FindOrCreate(platform::RegRoot root, std::string_view subKey)
{
    const auto names = platform::SplitKeyPath(subKey);
    if (!names)
        return nullptr;
    Node* node = Root(root);
    for (std::string_view name : *names) {
        auto it = node->children.find(name);
        if (it == node->children.end())
            it = node->children.emplace(std::string(name), std::make_unique<Node>()).first;
        node = it->second.get();
    }
    return node;
}

const platform::RegValue* RegistryTree::FindValue(platform::RegRoot root, std::string_view subKey, std::string_view name) const
{
    const Node* node = Find(root, subKey);
    if (node == nullptr)
        return nullptr;
    const auto it = node->values.find(name);
    return it == node->values.end() ? nullptr : &it->second;
}

bool RegistryTree::KeyExists(platform::RegRoot root, std::string_view subKey) const
{
    return Find(root, subKey) != nullptr;
}

platform::Result<platform::RegValue, platform::RegFault> RegistryTree::QueryValue(platform::RegRoot root, std::string_view subKey,
                                                                                  std::string_view name)
{
    const auto names = platform::SplitKeyPath(subKey);
    if (!names)
        return platform::RegError::BadKeyPath;
    const Node* node = Descend(Root(root), *names);
    if (node == nullptr)
        return platform::RegError::KeyNotFound;
    const auto it = node->values.find(name);
    if (it == node->values.end())
        return platform::RegError::ValueNotFound;
    return it->second;
}

platform::RegResult RegistryTree::SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name,
                                           const platform::RegValue& value)
{
    Node* node = FindOrCreate(root, subKey);
    if (node == nullptr)
        return platform::RegError::BadKeyPath;
    const auto it = node->values.find(name);
    if (it == node->values.end())
        node->values.emplace(std::string(name), value);
    else
        it->second = value;
    return {};
}

platform::RegResult RegistryTree::DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto names = platform::SplitKeyPath(subKey);
    if (!names)
        return platform::RegError::BadKeyPath;
    Node* node = Descend(Root(root), *names);
    if (node == nullptr)
        return platform::RegError::KeyNotFound;
    const auto it = node->values.find(name);
    if (it == node->values.end())
        return platform::RegError::ValueNotFound;
    node->values.erase(it);
    if (const auto comments = node->valueComments.find(name); comments != node->valueComments.end())
        node->valueComments.erase(comments);
    return {};
}

platform::RegResult RegistryTree::CreateKey(platform::RegRoot root, std::string_view subKey)
{
    if (FindOrCreate(root, subKey) == nullptr)
        return platform::RegError::BadKeyPath;
    return {};
}

platform::RegResult RegistryTree::DeleteKey(platform::RegRoot root, std::string_view subKey)
{
    const auto names = platform::SplitKeyPath(subKey);
    if (!names)
        return platform::RegError::BadKeyPath;
    if (names->empty())
        return platform::RegError::AccessDenied;
    Node* parent = Descend(Root(root), std::span(*names).first(names->size() - 1));
    if (parent == nullptr || parent->children.erase(std::string(names->back())) == 0)
        return platform::RegError::KeyNotFound;
    return {};
}

platform::Result<bool, platform::RegFault> RegistryTree::DeleteEmptyKey(platform::RegRoot root, std::string_view subKey)
{
    const auto names = platform::SplitKeyPath(subKey);
    if (!names || names->empty())
        return false;
    const Node* node = Descend(Root(root), *names);
    if (node == nullptr || !node->values.empty() || !node->children.empty())
        return false;
    static_cast<void>(DeleteKey(root, subKey));
    return true;
}

void RegistryTree::AddKeyComments(platform::RegRoot root, std::string_view subKey, const Comments& lines)
{
    if (Node* node = Find(root, subKey))
        node->comments.insert(node->comments.end(), lines.begin(), lines.end());
}

void RegistryTree::AddValueComments(platform::RegRoot root, std::string_view subKey, std::string_view name,
                                    const Comments& lines)
{
    Node* node = Find(root, subKey);
    if (node == nullptr || lines.empty() || !node->values.contains(name))
        return;
    auto it = node->valueComments.find(name);
    if (it == node->valueComments.end())
        it = node->valueComments.emplace(std::string(name), Comments()).first;
    it->second.insert(it->second.end(), lines.begin(), lines.end());
}

void RegistryTree::AddClosingComments(const Comments& lines)
{
    closingComments_.insert(closingComments_.end(), lines.begin(), lines.end());
}

namespace {

template <class NodeT, class Visit>
void Walk(const NodeT& node, platform::RegRoot root, std::string& path, const Visit& visit)
{
    visit(root, path, RegistryTree::KeyView{node.values, node.comments, node.valueComments});
    for (const auto& [name, child] : node.children) {
        const std::size_t length = path.size();
        if (!path.empty())
            path += '\\';
        path += name;
        Walk(*child, root, path, visit);
        path.resize(length);
    }
}

template <class NodeT>
std::size_t CountValues(const NodeT& node)
{
    std::size_t count = node.values.size();
    for (const auto& entry : node.children)
        count += CountValues(*entry.second);
    return count;
}

} // namespace

void RegistryTree::ForEachKey(const KeyVisitor& visit) const
{
    std::string path;
    for (const platform::RegRootName& root : platform::kRegRoots)
        Walk(*Root(root.root), root.root, path, visit);
}

std::size_t RegistryTree::ValueCount() const
{
    std::size_t count = 0;
    for (const auto& root : roots_)
        count += CountValues(*root);
    return count;
}

} // namespace regfile
