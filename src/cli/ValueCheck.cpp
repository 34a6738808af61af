#include "cli/ValueCheck.h"

#include "changes/ChangeSet.h"
#include "backup/BackupBytes.h"
#include "regfile/RegValueLine.h"
#include "platform/CaseFold.h"
#include "saving/NewValue.h"
#include "saving/SaveKey.h"

#include <cstdint>
#include <vector>

namespace cli {

namespace {

// A function that stores a value, where and how.
struct Named {
    const Function* function = nullptr;
    const KindRow* row = nullptr;
    std::string key; // as a key line names it
    std::string valueName;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
};

std::vector<Named> NamedValues(const Functions& functions)
{
    std::vector<Named> named;
    for (const Function& function : functions.All()) {
        const std::optional<FunctionBlock> block = functions.Block(function);
        const KindRow* row = block ? HeaderKind(block->header) : nullptr;
        if (!row || row->storage == ValueStorage::None)
            continue;
        const std::optional<SaveKey> key = ParseSaveKey(block->lines[0]);
        if (!key)
            continue;
        Named n{&function, row, key->Text(), block->lines[1]};
        if (row->bounds) {
            n.minimum = PowerClass::DecimalToInt(block->lines[2]);
            n.maximum = PowerClass::DecimalToInt(block->lines[3]);
        }
        named.push_back(std::move(n));
    }
    return named;
}

bool WithinBounds(const Named& n, std::int64_t number)
{
    return !n.row->bounds || (number >= n.minimum && number <= n.maximum);
}

// Whether the function could hold `value`: what set writes for its kind, a
// number within the bounds, or what the window reads as the kind's value.
bool Holds(const Named& n, const tk::RegValue& value)
{
    if (n.row->storage == ValueStorage::Dword) {
        if (value.type != tk::RegType::Dword || value.data.size() != 4)
            return false;
        const std::uint32_t bits = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                   (static_cast<std::uint32_t>(value.data[3]) << 24);
        // The panel shows a REG_DWORD as a signed number.
        return WithinBounds(n, static_cast<std::int32_t>(bits));
    }
    if (value.type != tk::RegType::Sz && value.type != tk::RegType::ExpandSz)
        return false;
    if (!n.row->controls.number)
        return true;
    std::string text(value.data.begin(), value.data.end());
    text = text.substr(0, text.find('\0'));
    const std::optional<std::int64_t> number = ParseTypedNumber(text, ValueStorage::String);
    return number && WithinBounds(n, *number);
}

} // namespace

std::optional<RefusedValue> FirstRefusedValue(const Functions& functions, const tk::RegFileDocument& document)
{
    const std::vector<Named> named = NamedValues(functions);
    for (const tk::RegFileSection& section : document.sections) {
        const std::string key = backup::KeyText({section.root, section.subKey});
        for (const tk::RegFileValueLine& line : section.values) {
            if (!line.value)
                continue;
            for (const Named& n : named)
                if (tk::EqualNoCase(n.key, key) && tk::EqualNoCase(n.valueName, line.name) && !Holds(n, *line.value))
                    return RefusedValue{line.line, tk::ValueDataText(tk::ExactRegValue{*line.value, line.utf16}), n.function};
        }
    }
    return std::nullopt;
}

} // namespace cli
