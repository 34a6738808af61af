#include "toolkit/regstore/RegistryTree.h"

namespace tk {

struct RegistryTree::Node {
    std::map<std::string, std::unique_ptr<Node>, CaseInsensitiveLess> children;
    ValueMap values;
};

RegistryTree::RegistryTree()
    : currentUser_(std::make_unique<Node>()), localMachine_(std::make_unique<Node>())
{
}

RegistryTree::~RegistryTree() = default;
RegistryTree::RegistryTree(RegistryTree&&) noexcept = default;
RegistryTree& RegistryTree::operator=(RegistryTree&&) noexcept = default;

RegistryTree::Node* RegistryTree::Root(RegRoot root) const
{
    return root == RegRoot::CurrentUser ? currentUser_.get() : localMachine_.get();
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

RegistryTree::Node* RegistryTree::Find(RegRoot root, std::string_view subKey) const
{
    return Descend(Root(root), SplitKeyPath(subKey));
}

RegistryTree::Node* RegistryTree::FindOrCreate(RegRoot root, std::string_view subKey)
{
    Node* node = Root(root);
    for (std::string_view name : SplitKeyPath(subKey)) {
        auto it = node->children.find(name);
        if (it == node->children.end())
            it = node->children.emplace(std::string(name), std::make_unique<Node>()).first;
        node = it->second.get();
    }
    return node;
}

const RegValue* RegistryTree::FindValue(RegRoot root, std::string_view subKey, std::string_view name) const
{
    const Node* node = Find(root, subKey);
    if (node == nullptr)
        return nullptr;
    const auto it = node->values.find(name);
    return it == node->values.end() ? nullptr : &it->second;
}

bool RegistryTree::KeyExists(RegRoot root, std::string_view subKey) const
{
    return Find(root, subKey) != nullptr;
}

Result<RegValue, RegError> RegistryTree::QueryValue(RegRoot root, std::string_view subKey,
                                                    std::string_view name)
{
    const Node* node = Find(root, subKey);
    if (node == nullptr)
        return RegError::KeyNotFound;
    const auto it = node->values.find(name);
    if (it == node->values.end())
        return RegError::ValueNotFound;
    return it->second;
}

RegStatus RegistryTree::SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                                 const RegValue& value)
{
    ValueMap& values = FindOrCreate(root, subKey)->values;
    const auto it = values.find(name);
    if (it == values.end())
        values.emplace(std::string(name), value);
    else
        it->second = value;
    return RegStatus::Ok;
}

RegStatus RegistryTree::DeleteValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    Node* node = Find(root, subKey);
    if (node == nullptr)
        return RegStatus::KeyNotFound;
    const auto it = node->values.find(name);
    if (it == node->values.end())
        return RegStatus::ValueNotFound;
    node->values.erase(it);
    return RegStatus::Ok;
}

void RegistryTree::CreateKey(RegRoot root, std::string_view subKey)
{
    FindOrCreate(root, subKey);
}

RegStatus RegistryTree::DeleteKey(RegRoot root, std::string_view subKey)
{
    const auto names = SplitKeyPath(subKey);
    if (names.empty())
        return RegStatus::AccessDenied;
    Node* parent = Descend(Root(root), std::span(names).first(names.size() - 1));
    if (parent == nullptr || parent->children.erase(std::string(names.back())) == 0)
        return RegStatus::KeyNotFound;
    return RegStatus::Ok;
}

namespace {

template <class NodeT, class Visit>
void Walk(const NodeT& node, RegRoot root, std::string& path, const Visit& visit)
{
    visit(root, path, node.values);
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
    Walk(*currentUser_, RegRoot::CurrentUser, path, visit);
    Walk(*localMachine_, RegRoot::LocalMachine, path, visit);
}

std::size_t RegistryTree::ValueCount() const
{
    return CountValues(*currentUser_) + CountValues(*localMachine_);
}

} // namespace tk
