#include "regstore/RegImport.h"

#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "regstore/RegistryStore.h"
#include "regstore/Texts.h"

#include <cstddef>

namespace tk {

namespace {

// As much as the store itself may hold.
constexpr std::size_t kMaxImportBytes = kMaxRegStoreBytes;

std::string StoreFault(const RegFault& fault, const std::string& storePath)
{
    if (!fault.cause.empty())
        return fault.cause;
    if (fault.error == RegError::StoreBroken)
        return tk::Text(text::StoreCannotBeUsed, {storePath});
    return tk::Text(text::StoreCouldNotBeChanged, {storePath});
}

} // namespace

std::string RegImportQuestion(const std::string& path)
{
    return tk::Text(text::ImportQuestion, {path});
}

std::string RegImportDoneText(const std::string& path)
{
    return tk::Text(text::ImportDone, {path});
}

RegImportOutcome ImportRegFile(const std::string& path, RegistryStore& store, const RegImportConfirm& confirm)
{
    std::string bytes;
    try {
        bytes = ReadWholeFile(path, kMaxImportBytes);
    } catch (const CFileException& e) {
        return {RegImportStatus::Failed, e.what()};
    }
    auto text = RegFileTextOf(std::move(bytes), path);
    if (!text)
        return {RegImportStatus::Failed, text.Error().Message()};
    // Checked whole before anything is asked; the store then takes its keys
    // one at a time, copying what the check found already in the written form.
    auto file = store.ReadImport(RegText::Held(std::move(text.Value().text), path, text.Value().format));
    if (!file)
        return {RegImportStatus::Failed, file.Error().Message()};
    if (confirm && !confirm(RegImportQuestion(path)))
        return {RegImportStatus::Declined, {}};
    if (const RegResult result = store.Import(file.Value()); !result)
        return {RegImportStatus::Failed, tk::Text(text::ImportFailed, {path, StoreFault(result.Error(), store.Path())})};
    return {RegImportStatus::Imported, RegImportDoneText(path)};
}

} // namespace tk
