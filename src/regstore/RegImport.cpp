#include "regstore/RegImport.h"

#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "regstore/RegistryStore.h"

#include <cstddef>

namespace tk {

namespace {

// As much as the store itself may hold.
constexpr std::size_t kMaxImportBytes = std::size_t{256} << 20;

std::string StoreFault(const RegFault& fault, const std::string& storePath)
{
    if (!fault.cause.empty())
        return fault.cause;
    if (fault.error == RegError::StoreBroken)
        return "the registry store \"" + storePath + "\" cannot be used";
    return "the registry store \"" + storePath + "\" could not be changed";
}

} // namespace

std::string RegImportQuestion(const std::string& path)
{
    return "Import the keys and values in \"" + path + "\" into the registry?";
}

std::string RegImportDoneText(const std::string& path)
{
    return "The keys and values in \"" + path + "\" were imported into the registry.";
}

RegImportOutcome ImportRegFile(const std::string& path, RegistryStore& store, const RegImportConfirm& confirm)
{
    std::string bytes;
    try {
        bytes = ReadWholeFile(path, kMaxImportBytes);
    } catch (const CFileException& e) {
        return {RegImportStatus::Failed, e.what()};
    }
    const auto document = ParseRegFileBytes(bytes, path);
    if (!document)
        return {RegImportStatus::Failed, document.Error().Message()};
    if (confirm && !confirm(RegImportQuestion(path)))
        return {RegImportStatus::Declined, {}};
    if (const RegResult result = store.Import(document.Value()); !result)
        return {RegImportStatus::Failed,
                "\"" + path + "\" was not imported: " + StoreFault(result.Error(), store.Path()) + "."};
    return {RegImportStatus::Imported, RegImportDoneText(path)};
}

} // namespace tk
