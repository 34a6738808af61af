#include "cli/ValueCheck.h"

#include "changes/ChangeSet.h"
#include "backup/BackupBytes.h"
#include "regfile/RegValueLine.h"
#include "platform/CaseFold.h"
#include "saving/NewValue.h"
#include "saving/SaveKey.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace cli {

// A function that stores a value, where and how.
struct ValueChecker::Named {
    const Function* function = nullptr;
    const catalogue::KindRow* row = nullptr;
    std::string key; // as a key line names it
    std::string valueName;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
};

namespace {

using Named = ValueChecker::Named;

std::vector<Named> NamedValues(const Functions& functions)
{
    std::vector<Named> named;
    for (const Function& function : functions.All()) {
        const std::optional<catalogue::FunctionBlock> block = functions.Block(function);
        const catalogue::KindRow* row = block ? catalogue::HeaderKind(block->header) : nullptr;
        if (!row || row->storage == catalogue::ValueStorage::None)
            continue;
        const std::optional<saving::SaveKey> key = saving::ParseSaveKey(block->lines[0]);
        if (!key)
            continue;
        Named n{&function, row, key->Text(), block->lines[1]};
        if (row->bounds) {
            n.minimum = util::PowerClass::DecimalToInt(block->lines[2]);
            n.maximum = util::PowerClass::DecimalToInt(block->lines[3]);
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
bool Holds(const Named& n, const platform::RegValue& value)
{
    if (n.row->storage == catalogue::ValueStorage::Dword) {
        if (value.type != platform::RegType::Dword || value.data.size() != 4)
            return false;
        const std::uint32_t bits = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                   (static_cast<std::uint32_t>(value.data[3]) << 24);
        // The panel shows a REG_DWORD as a signed number.
        return WithinBounds(n, static_cast<std::int32_t>(bits));
    }
    if (value.type != platform::RegType::Sz && value.type != platform::RegType::ExpandSz)
        return false;
    if (!n.row->controls.number)
        return true;
    std::string text(value.data.begin(), value.data.end());
    text = text.substr(0, text.find('\0'));
    const std::optional<std::int64_t> number = saving::ParseTypedNumber(text, catalogue::ValueStorage::String);
    return number && WithinBounds(n, *number);
}

// Equal for texts that platform::EqualNoCase finds equal, and only for them.
void AppendFolded(std::string& out, std::string_view text)
{
    for (const char c : text)
        out += static_cast<char>(platform::FoldedByte(c));
}

std::string FoldedKey(const std::string& key)
{
    std::string folded;
    AppendFolded(folded, key);
    return folded;
}

} // namespace

ValueChecker::ValueChecker(const Functions& functions)
    : named_(NamedValues(functions))
{
    for (std::size_t i = 0; i < named_.size(); ++i) {
        std::string folded = FoldedKey(named_[i].key);
        keys_.insert(folded);
        folded += '\0';
        AppendFolded(folded, named_[i].valueName);
        byValue_[folded].push_back(i);
    }
}

ValueChecker::~ValueChecker() = default;

std::optional<RefusedValue> ValueChecker::FirstRefused(const regfile::RegFileSection& section) const
{
    std::string probe = FoldedKey(backup::KeyText({section.root, section.subKey}));
    if (!keys_.contains(probe))
        return std::nullopt;
    probe += '\0';
    const std::size_t keyPart = probe.size();
    for (const regfile::RegFileValueLine& line : section.values) {
        if (!line.value)
            continue;
        probe.resize(keyPart);
        AppendFolded(probe, line.name);
        const auto found = byValue_.find(probe);
        if (found == byValue_.end())
            continue;
        for (const std::size_t i : found->second)
            if (!Holds(named_[i], *line.value))
                return RefusedValue{line.line, regfile::ValueDataText(platform::ExactRegValue{*line.value, line.utf16}),
                                    named_[i].function};
    }
    return std::nullopt;
}

std::optional<RefusedValue> FirstRefusedValue(const Functions& functions, const regfile::RegFileDocument& document)
{
    const ValueChecker checker(functions);
    for (const regfile::RegFileSection& section : document.sections)
        if (auto refused = checker.FirstRefused(section))
            return refused;
    return std::nullopt;
}

} // namespace cli
