// The function catalogue: every block found for a key carries exactly the
// lines its kind needs, so the option panel reads only lines that are there;
// reading a function's value never changes the registry; the category filter
// lists each function at most once, in order, and when the header list runs
// short it names function keys that lack a header. Windows' defaults read as
// function keys or fail naming their file and line, and the entry of changed
// functions lists only functions with a default, once each, in order.
//
// Input: the catalogue, "====\n", a registry store file for the values,
// "====\n", the defaults file.
#include "FuzzSupport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionDefaults.h"
#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKeys.h"
#include "catalogue/FunctionKind.h"
#include "catalogue/OptionPanel.h"
#include "platform/Services.h"
#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"
#include "util/PowerClass.h"
#include "util/TextFile.h"

#include <algorithm>

namespace {

constexpr int kFunctionsTried = 8;

tk::RegistryTree Registry(std::string_view store)
{
    tk::RegistryTree tree;
    if (const auto document = tk::ParseRegFile(store, "registry.reg"))
        FUZZ_CHECK(tk::ApplyRegFile(document.Value(), tree, tk::RegFileComments::Keep).HasValue());
    return tree;
}

void CheckFilter(const CatalogueBlocks& catalogue)
{
    const auto& lines = catalogue.Lines();
    const int headers = static_cast<int>(HeaderList(lines).size());
    for (const int count : {headers, headers + 2}) {
        for (int category = 0; category <= catalogue::CategoryCount; ++category) {
            const FunctionFilter filter = FilterFunctions(lines, count, category);
            const auto& listed = filter.listed;
            FUZZ_CHECK(std::is_sorted(listed.begin(), listed.end()));
            FUZZ_CHECK(std::adjacent_find(listed.begin(), listed.end()) == listed.end());
            FUZZ_CHECK(listed.empty() || (listed.front() >= 0 && listed.back() < count));
            if (category == 0)
                FUZZ_CHECK(static_cast<int>(listed.size()) == count);
            // A header list that runs short always names a key, or the
            // user's message would name none.
            const bool judged = category > 0 && category < catalogue::CategoryCount;
            const auto& missing = filter.keysWithoutHeader;
            FUZZ_CHECK((judged && headers < count) == !missing.empty());
            FUZZ_CHECK(std::is_sorted(missing.begin(), missing.end()));
            for (const int key : missing)
                FUZZ_CHECK(key >= catalogue::FunctionKey(0) && key < catalogue::FunctionKey(count) &&
                           (key - catalogue::FunctionKey(0)) % 10 == 0);
        }
    }
}

void CheckDefaults(const CatalogueBlocks& catalogue, std::string_view defaultsText, tk::RegistryTree& registry)
{
    const auto defaults = ParseDefaults(SplitLines(defaultsText), "0019def.ini");
    if (!defaults) {
        FUZZ_CHECK(defaults.Error().starts_with("\"0019def.ini\", line "));
    } else {
        for (const auto& [key, windowsDefault] : defaults.Value())
            FUZZ_CHECK(key >= catalogue::FunctionKey(0) && key <= 99990 && key % 10 == 0);
    }
    const std::string before = tk::SerialiseRegFile(registry);
    PowerClass power;
    const int count = static_cast<int>(HeaderList(catalogue.Lines()).size()) + 1;
    const FunctionFilter filter = FilterChanged(catalogue, count, defaults, power);
    FUZZ_CHECK(tk::SerialiseRegFile(registry) == before);
    FUZZ_CHECK(filter.defaultsFault.empty() == defaults.HasValue());
    const auto& listed = filter.listed;
    FUZZ_CHECK(std::is_sorted(listed.begin(), listed.end()));
    FUZZ_CHECK(std::adjacent_find(listed.begin(), listed.end()) == listed.end());
    for (const int i : listed)
        FUZZ_CHECK(i >= 0 && i < count && defaults.Value().contains(catalogue::FunctionKey(i)));
}

void CheckPanel(const KindRow& row, const FunctionBlock& block, tk::RegistryTree& registry)
{
    const std::string before = tk::SerialiseRegFile(registry);
    PowerClass power;
    const PanelValue value = ReadPanelValue(row, block.lines, power);
    FUZZ_CHECK(tk::SerialiseRegFile(registry) == before);
    FUZZ_CHECK(value.keyPath == block.lines[0]);
    if (row.storage == ValueStorage::None)
        return;
    FUZZ_CHECK(value.valueName == block.lines[1] && value.currentValue.has_value());
    FUZZ_CHECK(row.controls.radios == value.switchIndex.has_value());
    FUZZ_CHECK(!value.switchIndex || *value.switchIndex == 0 || *value.switchIndex == 1);
    FUZZ_CHECK(row.bounds == value.minimum.has_value() && row.bounds == value.maximum.has_value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::Parts(fuzz::AsText(data, size), 3);
    const CatalogueBlocks catalogue{std::string(parts[0])};
    const auto& lines = catalogue.Lines();
    tk::RegistryTree registry = Registry(parts[1]);
    tk::Services services;
    services.registry = &registry;
    const tk::ScopedServices installed(services);

    CheckFilter(catalogue);
    CheckDefaults(catalogue, parts[2], registry);

    // The program's own function keys, and whatever keys the first lines carry.
    std::vector<int> keys;
    for (int i = 0; i < kFunctionsTried; ++i)
        keys.push_back(catalogue::FunctionKey(i));
    for (std::size_t i = 0; i < lines.size() && i < kFunctionsTried; ++i)
        keys.push_back(PowerClass::DecimalToInt(std::string(lines[i].substr(0, 5))));

    for (const int key : keys) {
        const std::vector<FunctionBlock> blocks = FindBlocks(parts[0], key);
        // One reading for every key finds what a search for the key finds.
        const std::vector<FunctionBlock> indexed = catalogue.Find(key);
        FUZZ_CHECK(indexed.size() == blocks.size());
        for (std::size_t i = 0; i < blocks.size() && i < indexed.size(); ++i)
            FUZZ_CHECK(indexed[i].header == blocks[i].header && indexed[i].lines == blocks[i].lines);
        for (const FunctionBlock& block : blocks) {
            const int kind = PowerClass::DecimalToInt(block.header.substr(0, 2));
            FUZZ_CHECK(static_cast<int>(block.lines.size()) == BlockLineCount(kind));
            if (const KindRow* row = FindKind(kind))
                CheckPanel(*row, block, registry);
        }
    }
    return 0;
}
