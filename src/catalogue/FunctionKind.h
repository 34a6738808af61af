#pragma once
// The ten kinds of function and everything that varies by kind, in one
// table: the block lines a kind carries after its header in the catalogue,
// how its value is stored, which controls of the option panel show it, the
// stored states of a switch, whether it has bounds, what Browse does and the
// caption of the save button. Showing, saving and Browse all read this
// table; a new kind is one more row.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace catalogue {

enum class FunctionKind {
    StringSwitch = 1,
    BoundedStringNumber = 2,
    FolderPath = 3,
    OpenTarget = 4,
    FilePath = 5,
    PlainText = 6,
    DwordSwitch = 7,
    DwordNumber = 8,
    BoundedDwordNumber = 9,
    YesNoSwitch = 10,
};

// How the value lies in the registry: REG_SZ, REG_DWORD, or not at all (a
// target that is opened instead).
enum class ValueStorage { None, String, Dword };

// What the Browse button picks.
enum class BrowseAction { None, Folder, File };

// The value controls of the option panel that a kind shows. Which of them is
// shown also says what the value is: the radio pair a switch, the number
// field a number, the path field a path or free text.
struct KindControls {
    bool number = false; // edit 1005
    bool path = false;   // edit 1006
    bool frame = false;  // group box 1004
    bool radios = false; // radio buttons 1002 and 1003
    bool browse = false; // button 1007
};

// The stored states of a switch; the second radio button (1003) stands for
// "on". A REG_SZ switch is on only when it holds exactly `onText`; a REG_DWORD
// switch is on whenever its number is not `offNumber`, and `onText`/`offText`
// are then the texts the panel keeps as its current value.
struct SwitchValues {
    std::string_view onText;
    std::string_view offText;
    std::uint32_t onNumber = 0;
    std::uint32_t offNumber = 0;
};

struct KindRow {
    int blockLines = 0;                 // lines after the header
    ValueStorage storage = ValueStorage::None;
    KindControls controls{};
    SwitchValues switchValues{};        // switches only
    bool bounds = false;                // block lines 3 and 4: minimum, maximum
    bool extension = false;             // block line 3: the file extension
    BrowseAction browse = BrowseAction::None;
    int saveCaptionKey = 55;            // translation key of the save button's caption
};

namespace kinds {

// Translation keys of the switch's radio captions: 1002 ("off") and 1003 ("on").
constexpr int kOffCaptionKey = 60;
constexpr int kOnCaptionKey = 65;

constexpr KindControls kSwitchControls{.frame = true, .radios = true};
constexpr KindControls kNumberControls{.number = true, .frame = true};
constexpr KindControls kPathControls{.path = true, .frame = true};
constexpr KindControls kBrowsePathControls{.path = true, .frame = true, .browse = true};

constexpr std::size_t Index(FunctionKind kind)
{
    return static_cast<std::size_t>(kind);
}

// By kind number; row 0 stands for every number that is no kind.
constexpr std::array<KindRow, 11> MakeRows()
{
    std::array<KindRow, 11> rows{};
    rows[Index(FunctionKind::StringSwitch)] = {
        .blockLines = 2, .storage = ValueStorage::String, .controls = kSwitchControls,
        .switchValues = {.onText = "1", .offText = "0"}};
    rows[Index(FunctionKind::BoundedStringNumber)] = {
        .blockLines = 4, .storage = ValueStorage::String, .controls = kNumberControls, .bounds = true};
    rows[Index(FunctionKind::FolderPath)] = {
        .blockLines = 2, .storage = ValueStorage::String, .controls = kBrowsePathControls,
        .browse = BrowseAction::Folder};
    // Block line 1 is the target to open; nothing is stored.
    rows[Index(FunctionKind::OpenTarget)] = {.blockLines = 1, .saveCaptionKey = 75};
    rows[Index(FunctionKind::FilePath)] = {
        .blockLines = 3, .storage = ValueStorage::String, .controls = kBrowsePathControls, .extension = true,
        .browse = BrowseAction::File};
    rows[Index(FunctionKind::PlainText)] = {
        .blockLines = 2, .storage = ValueStorage::String, .controls = kPathControls};
    rows[Index(FunctionKind::DwordSwitch)] = {
        .blockLines = 2, .storage = ValueStorage::Dword, .controls = kSwitchControls,
        .switchValues = {.onText = "1", .offText = "0", .onNumber = 1, .offNumber = 0}};
    rows[Index(FunctionKind::DwordNumber)] = {
        .blockLines = 2, .storage = ValueStorage::Dword, .controls = kNumberControls};
    rows[Index(FunctionKind::BoundedDwordNumber)] = {
        .blockLines = 4, .storage = ValueStorage::Dword, .controls = kNumberControls, .bounds = true};
    rows[Index(FunctionKind::YesNoSwitch)] = {
        .blockLines = 2, .storage = ValueStorage::String, .controls = kSwitchControls,
        .switchValues = {.onText = "yes", .offText = "no"}};
    return rows;
}

inline constexpr std::array<KindRow, 11> kRows = MakeRows();

constexpr int kLastKind = static_cast<int>(kRows.size()) - 1;

// A stored kind reads key path and value name, then its bounds or its
// extension; an unstored one reads its target alone.
constexpr bool BlockLinesAgree(const KindRow& row)
{
    if (row.storage == ValueStorage::None)
        return row.blockLines <= 1;
    return row.blockLines == 2 + (row.bounds ? 2 : 0) + (row.extension ? 1 : 0);
}
static_assert([] {
    for (const KindRow& row : kRows)
        if (!BlockLinesAgree(row))
            return false;
    return true;
}());

} // namespace kinds

// The row of a kind number; null for a number that is no kind.
constexpr const KindRow* FindKind(int kind)
{
    return kind >= 1 && kind <= kinds::kLastKind ? &kinds::kRows[static_cast<std::size_t>(kind)] : nullptr;
}

// Block lines after the header; 0 for a number that is no kind.
constexpr int BlockLineCount(int kind)
{
    const KindRow* row = FindKind(kind);
    return row ? row->blockLines : 0;
}

} // namespace catalogue
