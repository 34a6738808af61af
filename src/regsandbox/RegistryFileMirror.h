#pragma once
// A REGEDIT4 file as the registry of one scripted run on Windows, so that the
// end-to-end tests seed and read the registry through the same file on every
// platform. The file's keys and values go into a registry sandbox, the run
// works on the real registry functions, and Save() puts what the sandbox then
// holds back into the file in the store's canonical text, comments kept, as
// the Linux store would have written it. A file the run did not change stays
// as it was, byte for byte, and a missing file is made only when the run
// wrote something. As with the store, a change to a read-only file is refused
// with a fault naming it; a change that changes nothing is no change.
#include "regsandbox/RegistrySandbox.h"
#include "platform/win32/Win32Registry.h"

#include <string>

namespace regsandbox {

class RegistryFileMirror final : public platform::IRegistry {
public:
    // Throws CException naming the file when it cannot be read or parsed.
    explicit RegistryFileMirror(std::string path);

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(platform::RegRoot root, std::string_view subKey, std::string_view name) override;
    platform::RegResult SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name, const platform::RegValue& value) override;
    platform::RegResult DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name) override;
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(platform::RegRoot root, std::string_view subKey) override;

    // Throws CFileException naming the file when it cannot be written.
    void Save();

private:
    // A change to a read-only file is refused, and its caller says so.
    bool IsReadOnly() const;
    platform::RegFault ReadOnlyFault() const;

    std::string path_;
    regfile::RegistryTree original_;
    RegistrySandbox sandbox_;
    platform::Win32Registry registry_;
};

} // namespace regsandbox
