#include "catalogue/FunctionFilter.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionKeys.h"
#include "catalogue/Texts.h"
#include "util/Path.h"

FunctionFilter FilterFunctions(std::span<const std::string_view> catalogueLines, int functionCount, int category)
{
    FunctionFilter filter;
    const bool judged = category > 0 && category < catalogue::CategoryCount;
    const std::vector<std::string_view> headers = judged ? HeaderList(catalogueLines) : std::vector<std::string_view>();
    for (int i = 0; i < functionCount; ++i) {
        const bool listed = category == 0 || (judged && i < static_cast<int>(headers.size()) &&
                                              CategoryListsHeader(category, headers[static_cast<std::size_t>(i)]));
        if (listed)
            filter.listed.push_back(i);
    }
    // The header list runs short where a header line is missing or too short
    // to count, not at its end: name the keys that lack one.
    if (judged && static_cast<int>(headers.size()) < functionCount)
        filter.keysWithoutHeader = KeysWithoutHeader(catalogueLines, functionCount);
    return filter;
}

FunctionFilter FilterChanged(const CatalogueBlocks& catalogue, int functionCount,
                             const tk::Result<FunctionDefaults, std::string>& defaults, PowerClass& power)
{
    FunctionFilter filter;
    if (!defaults) {
        filter.defaultsFault = defaults.Error();
        return filter;
    }
    for (const auto& [key, windowsDefault] : defaults.Value()) {
        const std::vector<FunctionBlock> found = catalogue.Find(key);
        const int index = (key - catalogue::FirstFunction) / 10;
        if (index >= functionCount || found.empty())
            continue;
        const FunctionBlock& block = found.back();
        const KindRow* row = HeaderKind(block.header);
        if (!row || !DefaultFitsKind(*row, windowsDefault))
            continue;
        power.currentKeyPath = block.lines[0];
        const auto held = power.ReadRawValue(block.lines[1]);
        std::optional<tk::RegValue> value;
        if (held) {
            value = held.Value();
        } else if (held.Error() == tk::RegError::StoreBroken) {
            filter.registryFault = held.Error();
            continue;
        } else if (held.Error() != tk::RegError::KeyNotFound && held.Error() != tk::RegError::ValueNotFound) {
            continue; // the registry cannot say
        }
        if (value != windowsDefault.value)
            filter.listed.push_back(index);
    }
    return filter;
}

std::string UnjudgedFunctionsMessage(const std::string& cataloguePath, const std::vector<int>& keys)
{
    std::string list;
    for (const int key : keys)
        list += (list.empty() ? "" : ", ") + std::to_string(key);
    return tk::Text(keys.size() > 1 ? text::KeysWithoutHeader : text::KeyWithoutHeader, {cataloguePath, list});
}

std::string CataloguePath(const std::string& applicationFolder)
{
    return JoinPath(applicationFolder, "0019fct.ini");
}
