#include "regsandbox/RegistryFileMirror.h"

#include "platform/AtomicFile.h"
#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "regfile/RegFile.h"
#include "platform/win32/Win32.h"

namespace regsandbox {

namespace {

regfile::RegistryTree Parse(const std::string& path)
{
    regfile::RegistryTree tree;
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND)
        return tree;
    const auto document = regfile::ParseRegFile(platform::ReadWholeFile(path, regfile::kMaxRegStoreBytes), path);
    if (!document)
        throw platform::CException(document.Error().Message());
    static_cast<void>(regfile::ApplyRegFile(document.Value(), tree, regfile::RegFileComments::Keep));
    return tree;
}

// The comments of `from` on the keys and values that `to` still holds.
void TakeComments(const regfile::RegistryTree& from, regfile::RegistryTree& to)
{
    from.ForEachKey([&to](platform::RegRoot root, const std::string& path, const regfile::RegistryTree::KeyView& view) {
        to.AddKeyComments(root, path, view.comments);
        for (const auto& [name, lines] : view.valueComments)
            to.AddValueComments(root, path, name, lines);
    });
    to.AddClosingComments(from.ClosingComments());
}

} // namespace

RegistryFileMirror::RegistryFileMirror(std::string path) : path_(std::move(path)), original_(Parse(path_))
{
    sandbox_.Load(original_);
    sandbox_.Redirect();
}

platform::Result<platform::RegValue, platform::RegFault> RegistryFileMirror::QueryValue(platform::RegRoot root, std::string_view subKey,
                                                                                        std::string_view name)
{
    return registry_.QueryValue(root, subKey, name);
}

platform::RegResult RegistryFileMirror::SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name,
                                                 const platform::RegValue& value)
{
    const auto now = registry_.QueryValue(root, subKey, name);
    if (now && now.Value() == value)
        return {};
    if (IsReadOnly())
        return ReadOnlyFault();
    return registry_.SetValue(root, subKey, name, value);
}

platform::RegResult RegistryFileMirror::DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto now = registry_.QueryValue(root, subKey, name);
    if (!now)
        return now.Error();
    if (IsReadOnly())
        return ReadOnlyFault();
    return registry_.DeleteValue(root, subKey, name);
}

platform::Result<bool, platform::RegFault> RegistryFileMirror::DeleteEmptyKey(platform::RegRoot root, std::string_view subKey)
{
    const auto empty = registry_.IsEmptyKey(root, subKey);
    if (!empty || !empty.Value())
        return false;
    if (IsReadOnly())
        return ReadOnlyFault();
    return registry_.DeleteEmptyKey(root, subKey);
}

bool RegistryFileMirror::IsReadOnly() const
{
    const DWORD attributes = ::GetFileAttributesA(path_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// In the Linux store's words, so that a run reads the same on both.
platform::RegFault RegistryFileMirror::ReadOnlyFault() const
{
    return platform::RegFault(platform::RegError::WriteFailed, "the registry store \"" + path_ + "\" is read-only");
}

void RegistryFileMirror::Save()
{
    regfile::RegistryTree now = sandbox_.Contents();
    TakeComments(original_, now);
    const std::string text = regfile::SerialiseRegFile(now);
    if (text != SerialiseRegFile(original_))
        platform::WriteFileAtomically(path_, text);
}

} // namespace regsandbox
