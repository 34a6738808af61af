// The sample installation's functions as shipped: catalogue, translation,
// Windows' defaults and the documentation table agree. Nothing here knows the
// functions themselves, so it checks a catalogue of any size.
#include "catalogue/Catalogue.h"
#include "catalogue/FunctionDefaults.h"
#include "catalogue/FunctionKeys.h"
#include "i18n/Translation.h"
#include "saving/SaveKey.h"
#include "util/PowerClass.h"
#include "util/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const fs::path kSample = fs::path(TW_SOURCE_DIR) / "data" / "sample";

std::map<int, std::string> Section(const std::string& file, const std::string& code)
{
    std::map<int, std::string> texts;
    const auto entries = ParseTranslationSection(file, code);
    for (const TranslationEntry& entry : entries.value())
        texts.emplace(entry.key, entry.text);
    return texts;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The cells of the table rows of a Markdown file whose first cell is a key,
// by key; a key in two rows is a failure.
std::map<int, std::vector<std::string>> TableRows(const std::string& markdown)
{
    std::map<int, std::vector<std::string>> rows;
    std::istringstream in(markdown);
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("| "))
            continue;
        std::vector<std::string> cells;
        std::size_t at = 1;
        for (std::size_t bar; (bar = line.find(" |", at)) != std::string::npos; at = bar + 2) {
            const std::size_t begin = line.find_first_not_of(' ', at);
            cells.push_back(begin < bar ? line.substr(begin, bar - begin) : std::string());
        }
        if (cells.empty() || cells[0].size() != 5 || cells[0].find_first_not_of("0123456789") != std::string::npos)
            continue;
        EXPECT_TRUE(rows.emplace(std::stoi(cells[0]), cells).second) << "two rows for " << cells[0];
    }
    return rows;
}

} // namespace

TEST(SampleCatalogue, EveryFunctionHasItsBlockTextsAndAFittingDefaultAndItsRowsASource)
{
    const std::string translation = ReadTextFile((kSample / "0019trl.ini").string());
    const auto english = Section(translation, "[1033]"), german = Section(translation, "[1031]");
    const std::vector<std::string> names = FunctionNames([&english](int key) -> std::optional<std::string> {
        const auto found = english.find(key);
        return found == english.end() ? std::nullopt : std::optional<std::string>(found->second);
    });
    const int count = static_cast<int>(names.size());
    ASSERT_GT(count, 0);
    for (const auto* language : {&english, &german}) {
        const auto end = language->find(catalogue::FunctionKey(count));
        ASSERT_NE(end, language->end()) << "no End of functions";
        EXPECT_EQ(end->second, catalogue::EndOfFunctions);
    }

    const CatalogueBlocks catalogue(ReadTextFile((kSample / "0019fct.ini").string()));
    const std::vector<std::string_view> headers = HeaderList(catalogue.Lines());
    ASSERT_EQ(headers.size(), names.size()) << "the filter counts a header line for each function, and no other";
    const auto defaults = ReadDefaults(kSample.string());
    ASSERT_TRUE(defaults) << defaults.Error();
    const auto documented = TableRows(ReadTextFile((fs::path(TW_SOURCE_DIR) / "docs" / "catalogue.md").string()));

    std::map<std::string, int> values; // key and value name, letter case ignored -> function key
    for (int i = 0; i < count; ++i) {
        const int key = catalogue::FunctionKey(i);
        SCOPED_TRACE(std::to_string(key) + " " + names[static_cast<std::size_t>(i)]);
        for (const int text : {key, key + 1, key + 2}) {
            EXPECT_FALSE(english.count(text) == 0 || english.at(text).empty()) << "English " << text;
            EXPECT_FALSE(german.count(text) == 0 || german.at(text).empty()) << "German " << text;
        }
        const std::vector<FunctionBlock> blocks = catalogue.Find(key);
        ASSERT_EQ(blocks.size(), 1u);
        const FunctionBlock& block = blocks[0];
        EXPECT_EQ(block.header, headers[static_cast<std::size_t>(i)]);
        const KindRow* row = HeaderKind(block.header);
        ASSERT_NE(row, nullptr) << "no kind: " << block.header;
        ASSERT_GE(block.header.size(), 4u);
        EXPECT_TRUE(block.header[2] == '0' || block.header[2] == '1') << "group digit";
        EXPECT_TRUE(block.header[3] >= '0' && block.header[3] <= '4') << "availability code";
        for (const std::string& line : block.lines)
            EXPECT_FALSE(line.empty()) << "a block line is missing or empty";

        if (row->storage == ValueStorage::None) {
            EXPECT_FALSE(defaults.Value().contains(key)) << "a target to open has no default";
        } else {
            EXPECT_TRUE(ParseSaveKey(block.lines[0])) << "no root the program writes: " << block.lines[0];
            const std::string value = Lower(block.lines[0]) + "\n" + Lower(block.lines[1]);
            const auto [other, fresh] = values.emplace(value, key);
            EXPECT_TRUE(fresh) << "the value of function " << other->second;
        }
        if (row->bounds) {
            const std::int32_t minimum = PowerClass::DecimalToInt(block.lines[2]);
            const std::int32_t maximum = PowerClass::DecimalToInt(block.lines[3]);
            EXPECT_LE(minimum, maximum);
            for (const auto* language : {&english, &german}) {
                const std::string& hint = language->at(key + 1);
                EXPECT_NE(hint.find(block.lines[2]), std::string::npos) << "the hint names no minimum: " << hint;
                EXPECT_NE(hint.find(block.lines[3]), std::string::npos) << "the hint names no maximum: " << hint;
            }
        }
        if (row->extension)
            EXPECT_GE(block.lines[2].size(), 3u);
        if (const auto found = defaults.Value().find(key); found != defaults.Value().end())
            EXPECT_TRUE(DefaultFitsKind(*row, found->second)) << "the default " << found->second.text;
        // Every function is documented: its value and a source.
        const auto doc = documented.find(key);
        ASSERT_NE(doc, documented.end()) << "docs/catalogue.md has no row";
        ASSERT_EQ(doc->second.size(), 8u) << "docs/catalogue.md: a row has eight cells";
        if (row->storage != ValueStorage::None)
            EXPECT_EQ(doc->second[3], "`" + block.lines[1] + "`") << "docs/catalogue.md names another value";
        EXPECT_FALSE(doc->second[7].empty()) << "docs/catalogue.md names no source";
    }
    // Defaults and rows only for functions there are; the defaults in key order.
    for (const auto& [key, windowsDefault] : defaults.Value())
        EXPECT_LT(key, catalogue::FunctionKey(count)) << "a default for no function: " << key;
    for (const auto& [key, cells] : documented)
        EXPECT_LT(key, catalogue::FunctionKey(count)) << "a documentation row for no function: " << key;
    const std::vector<std::string> defaultLines = ReadTextLines((kSample / "0019def.ini").string());
    EXPECT_TRUE(std::is_sorted(defaultLines.begin(), defaultLines.end())) << "0019def.ini is not in key order";
}
