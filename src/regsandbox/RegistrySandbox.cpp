#include "regsandbox/RegistrySandbox.h"

#include "platform/Exceptions.h"
#include "platform/win32/RegistryRoots.h"
#include "platform/win32/Win32.h"

#include <array>
#include <iterator>
#include <random>

namespace regsandbox {

namespace {

const char* const kSandboxes = "Software\\Tunewright Script";

platform::win32::UniqueKey CreateKey(HKEY parent, const std::string& subKey)
{
    HKEY created = nullptr;
    const LSTATUS status = ::RegCreateKeyExA(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS)
        throw platform::CException("the registry key \"" + subKey + "\" cannot be made (" + platform::win32::ErrorText(status) + ")");
    return platform::win32::UniqueKey(created);
}

// Every value of `key`, then every key below it, into the tree at `path`.
void Copy(HKEY key, platform::RegRoot root, const std::string& path, regfile::RegistryTree& tree)
{
    static_cast<void>(tree.CreateKey(root, path));
    DWORD subKeys = 0, longestKey = 0, values = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &longestKey, nullptr, &values, &longestName,
                           &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; i < values; ++i) {
        std::string name(longestName + 1, '\0');
        DWORD nameLength = longestName + 1;
        platform::RegValue value;
        value.data.resize(longestData);
        DWORD type = REG_NONE;
        DWORD size = longestData;
        if (::RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, value.data.data(), &size) !=
            ERROR_SUCCESS)
            continue;
        name.resize(nameLength);
        value.data.resize(size);
        value.type = static_cast<platform::RegType>(type);
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
        const platform::win32::UniqueKey child(opened);
        Copy(child.get(), root, path.empty() ? name : path + "\\" + name, tree);
    }
}

} // namespace

struct RegistrySandbox::Keys {
    platform::win32::UniqueKey sandboxes;
    std::string name;
    std::array<platform::win32::UniqueKey, std::size(platform::kRegRoots)> roots;
    bool redirected = false;
};

RegistrySandbox::RegistrySandbox() : keys_(std::make_unique<Keys>())
{
    keys_->sandboxes = CreateKey(HKEY_CURRENT_USER, kSandboxes);
    std::random_device random;
    keys_->name = std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(random());
    for (const platform::RegRootName& root : platform::kRegRoots)
        keys_->roots[static_cast<std::size_t>(root.root)] =
            CreateKey(keys_->sandboxes.get(), keys_->name + "\\" + std::string(root.name));
}

RegistrySandbox::~RegistrySandbox()
{
    if (keys_->redirected)
        for (const platform::RegRootName& root : platform::kRegRoots)
            ::RegOverridePredefKey(platform::win32::RootKey(root.root), nullptr);
    for (auto& root : keys_->roots)
        root.reset();
    ::RegDeleteTreeA(keys_->sandboxes.get(), keys_->name.c_str());
}

void RegistrySandbox::Load(const regfile::RegistryTree& tree)
{
    tree.ForEachKey([this](platform::RegRoot root, const std::string& path, const regfile::RegistryTree::KeyView& view) {
        const platform::win32::UniqueKey key = CreateKey(keys_->roots[static_cast<std::size_t>(root)].get(), path);
        for (const auto& [name, value] : view.values) {
            const LSTATUS status = ::RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(value.type),
                                                    value.data.data(), static_cast<DWORD>(value.data.size()));
            if (status != ERROR_SUCCESS)
                throw platform::CException("the value \"" + name + "\" of \"" + std::string(RootName(root)) + "\\" + path +
                                           "\" cannot be written (" + platform::win32::ErrorText(status) + ")");
        }
    });
}

void RegistrySandbox::Redirect()
{
    for (const platform::RegRootName& root : platform::kRegRoots) {
        const LSTATUS status = ::RegOverridePredefKey(platform::win32::RootKey(root.root),
                                                      keys_->roots[static_cast<std::size_t>(root.root)].get());
        if (status != ERROR_SUCCESS)
            throw platform::CException("the registry root " + std::string(root.name) + " cannot be redirected (" +
                                       platform::win32::ErrorText(status) + ")");
        keys_->redirected = true;
    }
}

regfile::RegistryTree RegistrySandbox::Contents() const
{
    regfile::RegistryTree tree;
    for (const platform::RegRootName& root : platform::kRegRoots)
        Copy(keys_->roots[static_cast<std::size_t>(root.root)].get(), root.root, std::string(), tree);
    return tree;
}

} // namespace regsandbox
