#include "cli/Functions.h"

#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKeys.h"
#include "platform/CaseFold.h"
#include "platform/ConsoleText.h"
#include "platform/SystemText.h"
#include "util/TextFile.h"

#include <algorithm>
#include <array>

namespace cli {

namespace {

std::optional<int> KeyNumber(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

} // namespace

Functions::Functions(const i18n::CTranslation& translation, const std::string& applicationFolder)
    : blocks_(util::ReadTextFile(catalogue::CataloguePath(applicationFolder)))
{
    std::vector<std::string> names = catalogue::FunctionNames([&translation](int key) { return translation.Find(key); });
    functions_.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int index = static_cast<int>(i);
        functions_.push_back({index, catalogue::FunctionKey(index), std::move(names[i])});
    }
    headers_ = catalogue::HeaderList(blocks_.Lines());
}

const Function* Functions::Find(const std::string& keyOrName) const
{
    if (const std::optional<int> key = KeyNumber(keyOrName)) {
        for (const Function& f : functions_)
            if (f.key == *key)
                return &f;
    }
    for (const Function& f : functions_)
        if (platform::EqualNoCase(f.name, keyOrName))
            return &f;
    return nullptr;
}

std::vector<const Function*> Functions::InCategory(int category) const
{
    std::vector<const Function*> listed;
    for (const int i : catalogue::FilterFunctions(blocks_.Lines(), static_cast<int>(functions_.size()), category).listed)
        listed.push_back(&functions_[static_cast<std::size_t>(i)]);
    return listed;
}

std::optional<int> Functions::GroupCategory(const Function& function) const
{
    if (function.index >= static_cast<int>(headers_.size()))
        return std::nullopt;
    const std::string_view header = headers_[static_cast<std::size_t>(function.index)];
    for (const int category : {1, 2})
        if (catalogue::CategoryListsHeader(category, header))
            return category;
    return std::nullopt;
}

std::optional<catalogue::FunctionBlock> Functions::Block(const Function& function) const
{
    std::vector<catalogue::FunctionBlock> found = blocks_.Find(function.key);
    if (found.empty())
        return std::nullopt;
    return std::move(found.back());
}

platform::Result<FunctionValue, ValueFault> ReadFunctionValue(const Functions& functions, const Function& function,
                                                        const i18n::CTranslation& translation, util::PowerClass& power)
{
    FunctionValue v;
    v.block = functions.Block(function);
    if (!v.block)
        return v;
    v.row = catalogue::HeaderKind(v.block->header);
    if (!v.row || v.row->storage == catalogue::ValueStorage::None)
        return v;
    const std::vector<std::string>& lines = v.block->lines;
    power.currentKeyPath = lines[0];
    const auto stored = power.ReadExactValue(lines[1]);
    if (stored)
        v.stored = stored.Value();
    else if (stored.Error() == platform::RegError::StoreBroken || stored.Error() == platform::RegError::AccessDenied)
        return ValueFault{lines[1], KeyPathText(lines[0]), stored.Error()};
    // One read makes the panel's value too, but for a text in its wide form,
    // which the panel shows as the code page's text.
    if (v.stored && v.stored->utf16)
        v.panel = catalogue::ReadPanelValue(*v.row, lines, power);
    else
        v.panel = catalogue::PanelValueOf(*v.row, lines, power,
                               v.stored ? platform::Result<platform::RegValue, platform::RegFault>(v.stored->value) : stored.Error());
    v.shown = catalogue::PanelValueText(*v.row, v.panel, [&translation](int key) { return translation.Lookup(key); });
    return v;
}

void ReadAheadValues(const Functions& functions, const std::vector<const Function*>& chosen,
                     platform::IRegistry& registry)
{
    std::vector<platform::RegKeyPath> keys;
    std::vector<std::string> names;
    keys.reserve(chosen.size());
    names.reserve(chosen.size());
    for (const Function* function : chosen) {
        std::optional<catalogue::FunctionBlock> block = functions.Block(*function);
        const catalogue::KindRow* row = block ? catalogue::HeaderKind(block->header) : nullptr;
        if (!row || row->storage == catalogue::ValueStorage::None || block->lines.size() < 2)
            continue;
        if (std::optional<platform::RegKeyPath> key = util::PowerClass::ResolvePathForm(block->lines[0])) {
            keys.push_back(std::move(*key));
            names.push_back(std::move(block->lines[1]));
        }
    }
    std::vector<platform::RegValueRef> values;
    values.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        values.push_back({keys[i].root, keys[i].subKey, names[i]});
    registry.ReadAhead(values);
}

std::string ExactUtf8(const FunctionValue& value, const std::string& text)
{
    if (value.stored && value.stored->utf16) {
        const std::u16string wide = platform::DecodeUtf16Le(value.stored->value.data, platform::ZeroUnit::Ends);
        if (platform::FromUtf16(wide).text == text)
            return platform::Utf16ToUtf8(wide);
    }
    return platform::Utf8Text(text);
}

std::string KeyPathText(const std::string& keyPath)
{
    // As a SaveKey spells it, without a list of its names first.
    const std::optional<platform::RegKeyPath> key = util::PowerClass::ResolvePathForm(keyPath);
    if (!key)
        return keyPath;
    // Through a pointer, in one pass: each run of separators becomes one.
    const std::string_view root = platform::RootName(key->root);
    std::string text(root.size() + 1 + key->subKey.size(), '\0');
    char* const data = text.data();
    char* to = std::copy(root.begin(), root.end(), data);
    bool separator = true;
    for (const char c : key->subKey) {
        if (c == '\\') {
            separator = true;
            continue;
        }
        if (separator)
            *to++ = '\\';
        separator = false;
        *to++ = c;
    }
    text.resize(static_cast<std::size_t>(to - data));
    return text;
}

std::string TypeName(platform::RegType type)
{
    static constexpr std::array<const char*, 12> kNames{
        "REG_NONE",          "REG_SZ",   "REG_EXPAND_SZ",       "REG_BINARY",
        "REG_DWORD",         "REG_DWORD_BIG_ENDIAN", "REG_LINK", "REG_MULTI_SZ",
        "REG_RESOURCE_LIST", "REG_FULL_RESOURCE_DESCRIPTOR", "REG_RESOURCE_REQUIREMENTS_LIST", "REG_QWORD"};
    const auto number = static_cast<std::uint32_t>(type);
    if (number < kNames.size())
        return kNames[number];
    return "REG_" + std::to_string(number);
}

} // namespace cli
