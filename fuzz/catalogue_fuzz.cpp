// The function catalogue: every block found for a key carries exactly the
// lines its kind needs, so the option panel reads only lines that are there;
// reading a function's value never changes the registry; the category filter
// lists each function at most once, in order, and names those it cannot
// judge.
//
// Input: the catalogue, "====\n", a registry store file for the values.
#include "FuzzSupport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKeys.h"
#include "catalogue/FunctionKind.h"
#include "catalogue/OptionPanel.h"
#include "toolkit/Services.h"
#include "toolkit/regstore/RegFile.h"
#include "toolkit/regstore/RegistryTree.h"
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

void CheckFilter(const std::vector<std::string>& headers)
{
    const int count = static_cast<int>(headers.size()) + 2;
    for (int category = 0; category <= catalogue::CategoryCount; ++category) {
        const FunctionFilter filter = FilterFunctions(headers, count, category);
        FUZZ_CHECK(std::is_sorted(filter.listed.begin(), filter.listed.end()));
        FUZZ_CHECK(std::adjacent_find(filter.listed.begin(), filter.listed.end()) == filter.listed.end());
        FUZZ_CHECK(filter.listed.empty() || (filter.listed.front() >= 0 && filter.listed.back() < count));
        if (category == 0)
            FUZZ_CHECK(static_cast<int>(filter.listed.size()) == count);
        const bool judges = category > 0 && category < catalogue::CategoryCount;
        const std::vector<int> unjudged = judges ? std::vector<int>{catalogue::FunctionKey(count - 2),
                                                                    catalogue::FunctionKey(count - 1)}
                                                 : std::vector<int>{};
        FUZZ_CHECK(filter.unjudgedKeys == unjudged);
    }
}

void CheckPanel(FunctionKind kind, const FunctionBlock& block, tk::RegistryTree& registry)
{
    const std::string before = tk::SerialiseRegFile(registry);
    PowerClass power;
    const PanelValue value = ReadPanelValue(kind, block.lines, power);
    FUZZ_CHECK(tk::SerialiseRegFile(registry) == before);
    FUZZ_CHECK(value.keyPath == block.lines[0]);
    if (kind == FunctionKind::OpenTarget)
        return;
    FUZZ_CHECK(value.valueName == block.lines[1] && value.currentValue.has_value());
    FUZZ_CHECK(IsSwitch(kind) == value.switchIndex.has_value());
    FUZZ_CHECK(!value.switchIndex || *value.switchIndex == 0 || *value.switchIndex == 1);
    const bool bounded = kind == FunctionKind::BoundedStringNumber || kind == FunctionKind::BoundedDwordNumber;
    FUZZ_CHECK(bounded == value.minimum.has_value() && bounded == value.maximum.has_value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::Parts(fuzz::AsText(data, size), 2);
    const std::vector<std::string> lines = SplitLines(parts[0]);
    tk::RegistryTree registry = Registry(parts[1]);
    tk::Services services;
    services.registry = &registry;
    const tk::ScopedServices installed(services);

    CheckFilter(HeaderList(lines));

    // The program's own function keys, and whatever keys the first lines carry.
    std::vector<int> keys;
    for (int i = 0; i < kFunctionsTried; ++i)
        keys.push_back(catalogue::FunctionKey(i));
    for (std::size_t i = 0; i < lines.size() && i < kFunctionsTried; ++i)
        keys.push_back(PowerClass::DecimalToInt(lines[i].substr(0, 5)));

    for (const int key : keys) {
        for (const FunctionBlock& block : FindBlocks(lines, key)) {
            const int kind = PowerClass::DecimalToInt(block.header.substr(0, 2));
            FUZZ_CHECK(static_cast<int>(block.lines.size()) == BlockLineCount(kind));
            if (kind >= 1 && kind <= 10)
                CheckPanel(static_cast<FunctionKind>(kind), block, registry);
        }
    }
    return 0;
}
