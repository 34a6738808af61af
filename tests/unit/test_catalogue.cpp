// Reading the function catalogue: the header list of the category filter, the
// block lookup of the option panel and the filter's test of one header; the
// file of Windows' defaults beside it.
#include "catalogue/Catalogue.h"
#include "catalogue/FunctionDefaults.h"
#include "catalogue/FunctionFilter.h"
#include "catalogue/FunctionKind.h"
#include "catalogue/OptionPanel.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

struct BlockCase {
    const char* what;
    Lines lines;
    int key;
    // header and block lines of each block found, in file order
    std::vector<Lines> expected;
};

// The catalogue's bytes with `end` after each line, the last one's left off
// unless `lastEnded`.
std::string TextOf(const Lines& lines, const std::string& end = "\r\n", bool lastEnded = true)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() || lastEnded ? end : "");
    return text;
}

// The catalogue of these lines, read as its bytes are.
CatalogueBlocks Catalogue(const Lines& lines)
{
    return CatalogueBlocks(TextOf(lines));
}

Lines Copied(const std::vector<std::string_view>& views)
{
    return Lines(views.begin(), views.end());
}

std::vector<Lines> Flatten(const std::vector<FunctionBlock>& blocks)
{
    std::vector<Lines> out;
    for (const auto& b : blocks) {
        Lines l{b.header};
        l.insert(l.end(), b.lines.begin(), b.lines.end());
        out.push_back(l);
    }
    return out;
}

} // namespace

TEST(Catalogue, LineValueIsTheLineWithoutItsFirstSixCharacters)
{
    EXPECT_EQ(LineValue("10001 HKEY_CURRENT_USER\\\\Control Panel"), "HKEY_CURRENT_USER\\\\Control Panel");
    EXPECT_EQ(LineValue("10002\tName with  blanks "), "Name with  blanks ");
    EXPECT_EQ(LineValue("10003 "), "");
    EXPECT_EQ(LineValue("10003"), "");
    EXPECT_EQ(LineValue(""), "");
    EXPECT_EQ(LineValue("10000x7"), "7");
    EXPECT_EQ(LineValue("10000x"), "");
}

TEST(Catalogue, HeaderListTakesLongLinesWithZeroInFifthPlace)
{
    struct Case {
        const char* what;
        Lines lines;
        Lines expected;
    };
    const Case cases[] = {
        {"headers in file order, block lines skipped",
         {"10000 0210", "10001 HKEY_CURRENT_USER\\\\X", "10002 Name", "10010 0411", "10011 notepad.exe"},
         {"0210", "0411"}},
        {"nine characters are enough, eight are not",
         {"10000 021", "10010 04", "10020 0310"},
         {"021", "0310"}},
        {"a header line whose value is short is not counted, the list runs one short",
         {"10000 0210", "10010 1", "10020 0501"},
         {"0210", "0501"}},
        {"a non-header line with 0 in fifth place shifts the list",
         {"10000 0210", "Note0 about the next block", "10010 0411"},
         {"0210", "about the next block", "0411"}},
        {"a block line with 0 in fifth place is taken as well",
         {"10000 0610", "10001 HKEY_CURRENT_USER\\\\X", "10002 Name", "10010 0411", "12340 C:\\\\tools\\\\x.exe"},
         {"0610", "0411", "C:\\\\tools\\\\x.exe"}},
        {"the separator is never looked at and blanks are kept",
         {"10000x0210  ", "10010\t0411"},
         {"0210  ", "0411"}},
        {"short and empty lines",
         {"", "0", "10000", "100000", "10000 0", "10000 02"},
         {}},
        {"an empty catalogue", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Copied(HeaderList(Catalogue(c.lines).Lines())), c.expected) << c.what;
}

TEST(Catalogue, FindBlocksReadsTheBlockThatTheKindRequires)
{
    const std::string kp = "HKEY_CURRENT_USER\\\\Software\\\\Test";
    const BlockCase cases[] = {
        {"a switch: key path and value name",
         {"10000 0110", "10001 " + kp, "10002 Name", "10010 0711", "10011 " + kp, "10012 Other"},
         10010,
         {{"0711", kp, "Other"}}},
        {"a folder path: key path and value name, then the next header",
         {"10000 0310", "10001 " + kp, "10002 V", "10000 0411", "10001 x.exe"},
         10000,
         {{"0310", kp, "V"}, {"0411", "x.exe"}}},
        {"plain text: key path and value name, then the next header",
         {"10000 0610", "10001 " + kp, "10002 V", "10000 0411", "10001 x.exe"},
         10000,
         {{"0610", kp, "V"}, {"0411", "x.exe"}}},
        {"a DWORD switch: key path and value name, then the next header",
         {"10000 0710", "10001 " + kp, "10002 V", "10000 0411", "10001 x.exe"},
         10000,
         {{"0710", kp, "V"}, {"0411", "x.exe"}}},
        {"a DWORD number: key path and value name, then the next header",
         {"10000 0810", "10001 " + kp, "10002 V", "10000 0411", "10001 x.exe"},
         10000,
         {{"0810", kp, "V"}, {"0411", "x.exe"}}},
        {"a yes/no switch: key path and value name, then the next header",
         {"10000 1010", "10001 " + kp, "10002 V", "10000 0411", "10001 x.exe"},
         10000,
         {{"1010", kp, "V"}, {"0411", "x.exe"}}},
        {"a bounded number: four block lines",
         {"10000 0210", "10001 " + kp, "10002 Delay", "10003 0", "10004 4000", "10010 0411", "10011 x.exe"},
         10000,
         {{"0210", kp, "Delay", "0", "4000"}}},
        {"a bounded DWORD: four block lines",
         {"10000 0910", "10001 " + kp, "10002 Delay", "10003 0", "10004 4000", "10010 0411", "10011 x.exe"},
         10000,
         {{"0910", kp, "Delay", "0", "4000"}}},
        {"a file path: the extension line whole",
         {"10000 0511", "10001 " + kp, "10002 Wallpaper", "10003 Pictures (*.bmp)|*.bmp"},
         10000,
         {{"0511", kp, "Wallpaper", "Pictures (*.bmp)|*.bmp"}}},
        {"an open target: one block line",
         {"10000 0411", "10001 C:\\\\Windows\\\\regedit.exe", "10002 not mine"},
         10000,
         {{"0411", "C:\\\\Windows\\\\regedit.exe"}}},
        {"a blank and the digit 4 read as kind 4",
         {"10000  411", "10001 control.exe", "10002 stray"},
         10000,
         {{" 411", "control.exe"}}},
        {"a digit and a blank read as 40, which is no kind: no block lines",
         {"10000 4 11", "10001 control.exe"},
         10000,
         {{"4 11"}}},
        {"a kind outside 1-10 has no block lines",
         {"10000 1110", "10001 a", "10002 b"},
         10000,
         {{"1110"}}},
        {"the block lines are taken by position, whatever their key digits",
         {"10000 0110", "99999 " + kp, "x", "10010 0110"},
         10000,
         {{"0110", kp, ""}}},
        {"a block cut short by the end of the file: empty texts",
         {"10000 0910", "10001 " + kp},
         10000,
         {{"0910", kp, "", "", ""}}},
        {"a header as the last line",
         {"10000 0110"},
         10000,
         {{"0110", "", ""}}},
        {"a duplicated key yields both blocks in file order",
         {"10000 0110", "10001 " + kp, "10002 First", "10010 0411", "10011 x", "10000 0812", "10001 " + kp,
          "10002 Second"},
         10000,
         {{"0110", kp, "First"}, {"0812", kp, "Second"}}},
        {"consumed block lines are not tested as headers",
         {"10000 0610", "10000 0110", "10000 0410", "10000 0811", "10001 kp", "10002 n"},
         10000,
         {{"0610", "0110", "0410"}, {"0811", "kp", "n"}}},
        {"a key that no line carries",
         {"10000 0110", "10001 kp", "10002 n"},
         10010,
         {}},
        {"the key must fill the first five characters",
         {"1001", "1001 0110", " 10010 0110", "100100110"},
         10010,
         {{"110"}}},
        {"a header line without a value",
         {"10010"},
         10010,
         {{""}}},
    };
    for (const auto& c : cases) {
        for (const auto& [end, lastEnded] : {std::pair{"\r\n", true}, {"\n", true}, {"\r\n", false}})
            EXPECT_EQ(Flatten(FindBlocks(TextOf(c.lines, end, lastEnded), c.key)), c.expected)
                << c.what << (lastEnded ? "" : ", last line unended");
        // One reading of the catalogue for every key finds the same blocks.
        EXPECT_EQ(Flatten(Catalogue(c.lines).Find(c.key)), c.expected) << c.what;
    }
}

TEST(Catalogue, FindBlocksWritesTheKeyWithFiveDigits)
{
    const Lines lines = {"29990 0411", "29991 last.exe", "10000 0411", "10001 first.exe"};
    EXPECT_EQ(Flatten(FindBlocks(TextOf(lines), 29990)), (std::vector<Lines>{{"0411", "last.exe"}}));
    EXPECT_EQ(Flatten(FindBlocks(TextOf(lines), 10000)), (std::vector<Lines>{{"0411", "first.exe"}}));
    EXPECT_TRUE(FindBlocks(TextOf(lines), 1000).empty());
    EXPECT_TRUE(FindBlocks(TextOf(lines), 100000).empty());
    const CatalogueBlocks blocks = Catalogue(lines);
    EXPECT_EQ(Flatten(blocks.Find(29990)), (std::vector<Lines>{{"0411", "last.exe"}}));
    EXPECT_TRUE(blocks.Find(1000).empty());
    EXPECT_TRUE(blocks.Find(100000).empty());
}

TEST(Catalogue, FunctionNamesEndAtTheMarkerOrAtTheFirstKeyTheTranslationLacks)
{
    const auto names = [](std::vector<std::string> texts) {
        return FunctionNames([&texts](int key) -> std::optional<std::string> {
            const std::size_t i = static_cast<std::size_t>((key - 10000) / 10);
            return i < texts.size() ? std::optional<std::string>(texts[i]) : std::nullopt;
        });
    };
    EXPECT_EQ(names({"A", "B", "End of functions", "C"}), (Lines{"A", "B"}));
    EXPECT_EQ(names({"A", "end of functions"}), (Lines{"A", "end of functions"}));
    EXPECT_EQ(names({"A"}), (Lines{"A"}));
}

TEST(Catalogue, PanelValueTextIsWhatTheValueControlsShow)
{
    const auto captions = [](int key) { return std::string(key == 60 ? "&Off" : "O&&n"); };
    const auto row = [](FunctionKind kind) { return *FindKind(static_cast<int>(kind)); };
    PanelValue on;
    on.switchIndex = 1;
    PanelValue off;
    off.switchIndex = 0;
    PanelValue file;
    file.numberText = "bmp";
    file.pathText = "C:\\x.bmp";
    PanelValue number;
    number.numberText = "-5";
    number.pathText = "ignored";
    EXPECT_EQ(PanelValueText(row(FunctionKind::DwordSwitch), on, captions), "O&n");
    EXPECT_EQ(PanelValueText(row(FunctionKind::YesNoSwitch), off, captions), "Off");
    EXPECT_EQ(PanelValueText(row(FunctionKind::FilePath), file, captions), "C:\\x.bmp");
    EXPECT_EQ(PanelValueText(row(FunctionKind::BoundedDwordNumber), number, captions), "-5");
    EXPECT_EQ(PanelValueText(row(FunctionKind::PlainText), PanelValue{}, captions), "");
}

TEST(Catalogue, CategoryListsHeaderByGroupDigitOrKindText)
{
    struct Case {
        const char* header;
        bool listed[8]; // categories -1, 0, 1, 2, 3, 4, 5, 6
    };
    const Case cases[] = {
        {"0210", {false, true, false, true, false, false, false, false}},
        {"0201", {false, true, true, false, false, false, false, false}},
        {"0411", {false, true, false, true, true, false, false, false}},
        {"0400", {false, true, true, false, true, false, false, false}},
        {" 410", {false, true, false, true, false, false, false, false}},
        {"4 10", {false, true, false, true, false, false, false, false}},
        {"0310", {false, true, false, true, false, true, false, false}},
        {"0502", {false, true, true, false, false, false, true, false}},
        {"05", {false, true, false, false, false, false, true, false}},
        {"042", {false, true, false, false, true, false, false, false}},
        {"1010", {false, true, false, true, false, false, false, false}},
        {"", {false, true, false, false, false, false, false, false}},
    };
    for (const auto& c : cases)
        for (int category = -1; category <= 6; ++category)
            EXPECT_EQ(CategoryListsHeader(category, c.header), c.listed[category + 1])
                << "header \"" << c.header << "\", category " << category;
}

TEST(Catalogue, TheFilterNamesTheKeysWhoseHeaderLineIsMissing)
{
    struct Case {
        const char* what;
        Lines lines;
        std::vector<int> listed;  // by category 1 (group digit "0") of four functions
        std::vector<int> missing;
    };
    const Case cases[] = {
        {"every header present", {"10000 0800", "10010 0810", "10020 0800", "10030 0800"}, {0, 2, 3}, {}},
        {"the last ones missing", {"10000 0800", "10010 0810"}, {0}, {10020, 10030}},
        {"a short header line in the middle: later functions take their neighbour's header",
         {"10000 0800", "10010 08", "10020 0810", "10030 0800"}, {0, 2}, {10010}},
        {"a header line without the zero in fifth place",
         {"10000 0800", "1001x 0800", "10020 0800", "10030 0800"}, {0, 1, 2}, {10010}},
    };
    for (const auto& c : cases) {
        const CatalogueBlocks catalogue = Catalogue(c.lines);
        const FunctionFilter filter = FilterFunctions(catalogue.Lines(), 4, 1);
        EXPECT_EQ(filter.listed, c.listed) << c.what;
        EXPECT_EQ(filter.keysWithoutHeader, c.missing) << c.what;
        // All functions need no header.
        EXPECT_TRUE(FilterFunctions(catalogue.Lines(), 4, 0).keysWithoutHeader.empty()) << c.what;
    }
}

TEST(Catalogue, DefaultsTakeRegistryFileDataAndNameTheirFirstBadLine)
{
    const auto good = ParseDefaults({"10000 \"400\"", "", "10010 dword:0000002a", "10020 -", "10030 hex(2):25,00,00",
                                     "10040 \"\""},
                                    "def.ini");
    ASSERT_TRUE(good) << good.Error();
    const FunctionDefaults& d = good.Value();
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(d.at(10000).text, "\"400\"");
    EXPECT_EQ(d.at(10000).value, tk::RegValue::String("400"));
    EXPECT_EQ(d.at(10010).value, tk::RegValue::Dword(42));
    EXPECT_FALSE(d.at(10020).value) << "- is no value";
    EXPECT_EQ(d.at(10030).value->type, tk::RegType::ExpandSz);
    EXPECT_EQ(d.at(10040).value, tk::RegValue::String(""));

    struct Case {
        Lines lines;
        const char* message;
    };
    const Case cases[] = {
        {{"10000 \"1\"", "1001 \"1\""}, "\"def.ini\", line 2: a line of Windows' defaults starts with a function key"},
        {{"10001 \"1\""}, "\"def.ini\", line 1: a line of Windows' defaults starts"},
        {{"09990 \"1\""}, "\"def.ini\", line 1: a line of Windows' defaults starts"},
        {{"10000"}, "\"def.ini\", line 1: a line of Windows' defaults starts"},
        {{"10000 400"}, "\"def.ini\", line 1: the value cannot be read: "},
        {{"10000 \"400\" x"}, "\"def.ini\", line 1: the value cannot be read: "},
        {{"10000 dword:xyz"}, "\"def.ini\", line 1: the value cannot be read: "},
        {{"10000 ", "10010 -"}, "\"def.ini\", line 1: the value cannot be read: "},
        {{"10000 -", "10010 -", "10000 \"1\""}, "\"def.ini\", line 3: the function 10000 has its default on line 1"},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseDefaults(c.lines, "def.ini");
        ASSERT_FALSE(parsed) << c.message;
        EXPECT_TRUE(parsed.Error().starts_with(c.message)) << parsed.Error();
    }
}

TEST(Catalogue, ADefaultFitsTheKindsThatStoreItsType)
{
    const WindowsDefault none{"-", std::nullopt}, text{"\"1\"", tk::RegValue::String("1")},
        dword{"dword:00000001", tk::RegValue::Dword(1)}, expand{"hex(2):00", tk::RegValue{tk::RegType::ExpandSz, {0}}},
        binary{"hex:01", tk::RegValue{tk::RegType::Binary, {1}}};
    struct Case {
        FunctionKind kind;
        bool fits[5]; // none, text, dword, expand, binary
    };
    const Case cases[] = {
        {FunctionKind::StringSwitch, {true, true, false, true, false}},
        {FunctionKind::FolderPath, {true, true, false, true, false}},
        {FunctionKind::DwordSwitch, {true, false, true, false, false}},
        {FunctionKind::BoundedDwordNumber, {true, false, true, false, false}},
        {FunctionKind::OpenTarget, {false, false, false, false, false}},
    };
    for (const Case& c : cases) {
        const KindRow& row = *FindKind(static_cast<int>(c.kind));
        int i = 0;
        for (const WindowsDefault* d : {&none, &text, &dword, &expand, &binary})
            EXPECT_EQ(DefaultFitsKind(row, *d), c.fits[i++]) << static_cast<int>(c.kind) << " " << d->text;
    }
}
