// Importing a registry file (tunewright-import, Reverse changes): any bytes,
// REGEDIT4 or version 5, in Windows-1252 or UTF-16LE, are imported whole or not at all. A file
// refused names itself and a line that exists, and a refused or declined file
// leaves the store byte for byte as it was; an imported one leaves the store
// holding exactly what applying the file to it gives, and the file's comments
// stay out.
#include "FuzzSupport.h"
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "regfile/RegFile.h"
#include "regstore/RegImport.h"
#include "regstore/RegistryStore.h"
#include "regfile/RegistryTree.h"

#include <cstddef>

namespace {

const char* const kStoreText = "REGEDIT4\r\n\r\n; the store's own comment\r\n"
                               "[HKEY_CURRENT_USER\\Software\\Orvelle\\Tunewright]\r\n\"Language\"=\"[1033]\"\r\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n@=dword:00000001\r\n";

regfile::RegistryTree StoreTree()
{
    const auto document = regfile::ParseRegFile(kStoreText, "registry.reg");
    FUZZ_CHECK(document.HasValue());
    regfile::RegistryTree tree;
    FUZZ_CHECK(regfile::ApplyRegFile(document.Value(), tree, regfile::RegFileComments::Keep).HasValue());
    return tree;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempAppFolder folder;
    const std::string bytes(fuzz::AsText(data, size));
    const std::string importPath = folder.Path("import.reg");
    const std::string storePath = folder.Path("registry.reg");
    regfile::RegistryTree expected = StoreTree();
    // The canonical text, which a store that changes nothing keeps as it is.
    const std::string before = regfile::SerialiseRegFile(expected);
    folder.Write("import.reg", bytes);
    folder.Write("registry.reg", before);

    const auto document = regfile::ParseRegFileBytes(bytes, importPath);
    if (!document) {
        const regfile::RegFileError error = document.Error();
        // A CR alone ends a line too.
        std::size_t lineEnds = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            lineEnds += bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) ? 1 : 0;
        FUZZ_CHECK_SAID(error.line >= 1 && static_cast<std::size_t>(error.line) <= 1 + lineEnds, error.Message());
        FUZZ_CHECK(error.fileName == importPath);
    }
    // Most files are taken; some are declined, which must change nothing.
    const bool confirm = size % 7 != 0;

    RecordingBackend backend;
    const toolkit::ScopedBackend installed(backend);
    regstore::RegistryStore store(storePath);
    const regstore::RegImportOutcome outcome =
        regstore::ImportRegFile(importPath, store, [confirm](const std::string&) { return confirm; });
    FUZZ_CHECK(backend.errors.empty());

    if (!document) {
        FUZZ_CHECK(outcome.status == regstore::RegImportStatus::Failed);
        FUZZ_CHECK_SAID(outcome.message == document.Error().Message(), outcome.message);
    } else if (!confirm) {
        FUZZ_CHECK(outcome.status == regstore::RegImportStatus::Declined);
    } else {
        FUZZ_CHECK_SAID(outcome.status == regstore::RegImportStatus::Imported, outcome.message);
        FUZZ_CHECK(regfile::ApplyRegFile(document.Value(), expected, regfile::RegFileComments::Drop).HasValue());
    }
    FUZZ_CHECK(folder.Read("registry.reg") == regfile::SerialiseRegFile(expected));
    return 0;
}
