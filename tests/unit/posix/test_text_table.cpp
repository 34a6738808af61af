// Every message of the program has a key of its own in the messages' ranges,
// and the sample translation file gives it in English, word for word as the
// program's fallback, and in German.
#include "i18n/Translation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace util;
using namespace i18n;

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The text of adjacent C string literals from `at`, escapes resolved.
std::string Literals(const std::string& source, std::size_t at)
{
    std::string text;
    while (at < source.size() && source[at] != '}') {
        if (source[at] != '"') {
            ++at;
            continue;
        }
        for (++at; at < source.size() && source[at] != '"'; ++at) {
            if (source[at] != '\\') {
                text += source[at];
                continue;
            }
            const char escaped = source[++at];
            text += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        }
        ++at;
    }
    return text;
}

// key -> English text, from every Texts.h under src/ and tools/.
std::map<int, std::string> MessageTable()
{
    std::map<int, std::string> table;
    const std::regex id(R"re(TextId\s+(\w+)\s*\{\s*(\d+)\s*,)re");
    std::vector<fs::path> headers;
    for (const char* folder : {"src", "tools"})
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(TW_SOURCE_DIR) / folder))
            headers.push_back(entry.path());
    for (const fs::path& header : headers) {
        if (header.filename() != "Texts.h")
            continue;
        const std::string source = ReadAll(header);
        for (std::sregex_iterator match(source.begin(), source.end(), id), end; match != end; ++match) {
            const int key = std::stoi((*match)[2]);
            const bool fresh = table.emplace(key, Literals(source, match->position() + match->length())).second;
            EXPECT_TRUE(fresh) << "key " << key << " (" << (*match)[1] << ") is used twice";
        }
    }
    return table;
}

} // namespace

TEST(TextTable, EveryMessageHasItsKeyAndTheSampleGivesItInEnglishAndGerman)
{
    const auto table = MessageTable();
    ASSERT_FALSE(table.empty());
    const std::string file = ReadAll(fs::path(TW_SOURCE_DIR) / "data" / "sample" / "0019trl.ini");
    const auto section = [&file](const std::string& code) {
        std::map<int, std::string> texts;
        const auto entries = ParseTranslationSection(file, code);
        for (const TranslationEntry& entry : entries.value())
            texts.emplace(entry.key, entry.text);
        return texts;
    };
    const auto english = section("[1033]"), german = section("[1031]");
    for (const auto& [key, text] : table) {
        SCOPED_TRACE(key);
        // Between the main window's keys and the functions'.
        EXPECT_GE(key, 1000);
        EXPECT_LE(key, 2999);
        ASSERT_TRUE(english.count(key)) << "no English text for " << text;
        EXPECT_EQ(english.at(key), text);
        ASSERT_TRUE(german.count(key)) << "no German text for " << text;
        EXPECT_NE(german.at(key), text);
    }
}
