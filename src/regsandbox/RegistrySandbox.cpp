#include "regsandbox/RegistrySandbox.h"

#include "platform/Exceptions.h"
#include "platform/win32/RegistryRoots.h"
#include "platform/win32/Win32.h"

#include <array>
#include <iterator>
#include <random>

namespace tk {

namespace {

const char* const kSandboxes = "Software\\Tunewright Script";

win32::UniqueKey CreateKey(HKEY parent, const std::string& subKey)
{
    HKEY created = nullptr;
    const LSTATUS status = ::RegCreateKeyExA(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS)
        throw CException("the registry key \"" + subKey + "\" cannot be made (" + win32::ErrorText(status) + ")");
    return win32::UniqueKey(created);
}

// Every value of `key`, then every key below it, into the tree at `path`.
void Copy(HKEY key, RegRoot root, const std::string& path, RegistryTree& tree)
{
    static_cast<void>(tree.CreateKey(root, path));
    DWORD subKeys = 0, longestKey = 0, values = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &longestKey, nullptr, &values, &longestName,
                           &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < values; ++i) {
        std::string name(longestName + 1, '\0');
        DWORD nameLength = longestName + 1;
        RegValue value;
        value.data.resize(longestData);
        DWORD type = REG_NONE;
        DWORD size = longestData;
        if (::RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, value.data.data(), &size) !=
            ERROR_SUCCESS)
            continue;
        name.resize(nameLength);
        value.data.resize(size);
        value.type = static_cast<RegType>(type);
        static_cast<void>(tree.SetValue(root, path, name, value));
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        std::string name(longestKey + 1, '\0');
        DWORD nameLength = longestKey + 1;
        if (::RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        name.resize(nameLength);
        HKEY opened = nullptr;
        if (::RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            continue;
        const win32::UniqueKey child(opened);
        Copy(child.get(), root, path.empty() ? name : path + "\\" + name, tree);
    }
}

} // namespace

struct RegistrySandbox::Keys {
    win32::UniqueKey sandboxes;
    std::string name;
    std::array<win32::UniqueKey, std::size(kRegRoots)> roots;
    bool redirected = false;
};

RegistrySandbox::RegistrySandbox() : keys_(std::make_unique<Keys>())
{
    keys_->sandboxes = CreateKey(HKEY_CURRENT_USER, kSandboxes);
    std::random_device random;
    keys_->name = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(random());
    for (const RegRootName& root : kRegRoots)
        keys_->roots[static_cast<std::size_t>(root.root)] =
            CreateKey(keys_->sandboxes.get(), keys_->name + "\\" + std::string(root.name));
}

RegistrySandbox::~RegistrySandbox()
{
    if (keys_->redirected)
        for (const RegRootName& root : kRegRoots)
            ::RegOverridePredefKey(win32::RootKey(root.root), nullptr);
    for (auto& root : keys_->roots)
        root.reset();
    ::RegDeleteTreeA(keys_->sandboxes.get(), keys_->name.c_str());
}

void RegistrySandbox::Load(const RegistryTree& tree)
{
    tree.ForEachKey([this](RegRoot root, const std::string& path, const RegistryTree::KeyView& view) {
        const win32::UniqueKey key = CreateKey(keys_->roots[static_cast<std::size_t>(root)].get(), path);
        for (const auto& [name, value] : view.values) {
            const LSTATUS status = ::RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(value.type),
                                                    value.data.data(), static_cast<DWORD>(value.data.size()));
            if (status != ERROR_SUCCESS)
                throw CException("the value \"" + name + "\" of \"" + std::string(RootName(root)) + "\\" + path +
                                 "\" cannot be written (" + win32::ErrorText(status) + ")");
        }
    });
}

void RegistrySandbox::Redirect()
{
    for (const RegRootName& root : kRegRoots) {
        const LSTATUS status = ::RegOverridePredefKey(win32::RootKey(root.root),
                                                      keys_->roots[static_cast<std::size_t>(root.root)].get());
        if (status != ERROR_SUCCESS)
            throw CException("the registry root " + std::string(root.name) + " cannot be redirected (" +
                             win32::ErrorText(status) + ")");
        keys_->redirected = true;
    }
}

RegistryTree RegistrySandbox::Contents() const
{
    RegistryTree tree;
    for (const RegRootName& root : kRegRoots)
        Copy(keys_->roots[static_cast<std::size_t>(root.root)].get(), root.root, std::string(), tree);
    return tree;
}

} // namespace tk
