// Windows-1252 <-> UTF-8 at the terminal's edge.
#include "platform/CaseFold.h"
#include "platform/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalCp1252, DecodesEveryBlockOfTheCodePage)
{
    const struct {
        unsigned char byte;
        char32_t ch;
    } cases[] = {
        {0x41, U'A'},     {0x7F, 0x7F},     {0x80, 0x20AC}, {0x82, 0x201A}, {0x8A, 0x0160}, {0x8C, 0x0152},
        {0x8E, 0x017D},   {0x91, 0x2018},   {0x96, 0x2013}, {0x99, 0x2122}, {0x9C, 0x0153}, {0x9F, 0x0178},
        {0x81, 0x0081},   {0x8D, 0x008D},   {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D}, {0xA0, 0x00A0},
        {0xC4, U'\u00C4'}, {0xFF, U'\u00FF'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::DecodeCp1252(c.byte), c.ch) << "byte " << int(c.byte);
}

TEST(TerminalCp1252, ConvertsToUtf8AndBack)
{
    EXPECT_EQ(platform::Cp1252ToUtf8("A\x80\xE9\x9F"), "A\xE2\x82\xAC\xC3\xA9\xC5\xB8");
    EXPECT_EQ(platform::Utf8ToCp1252("A\xE2\x82\xAC\xC3\xA9\xC5\xB8"), "A\x80\xE9\x9F");

    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all) << "every byte survives the round trip";
}

TEST(TerminalCp1252, DropsWhatTheCodePageCannotHoldAndBrokenSequences)
{
    const struct {
        const char* utf8;
        const char* cp1252;
    } cases[] = {
        {"a\xE2\x98\x83" "b", "ab"},          // snowman: no cp1252 form
        {"a\xF0\x9F\x98\x80" "b", "ab"},      // emoji, four bytes
        {"a\xC2\x80" "b", "ab"},              // U+0080 is not the euro sign's byte
        {"a\xC3", "a"},                       // cut short at the end
        {"a\xC3" "b", "ab"},                  // lead byte without continuation
        {"\xC0\xAF" "x", "x"},                // overlong slash
        {"\xED\xA0\x80" "x", "x"},            // surrogate
        {"\xFF" "x", "x"},                    // never a UTF-8 byte
        {"\xE2\x80\x9Cq\xE2\x80\x9D", "\x93q\x94"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(TerminalCp1252, EncodesSingleCharacters)
{
    EXPECT_EQ(platform::EncodeCp1252(0x20AC), '\x80');
    EXPECT_EQ(platform::EncodeCp1252(U'\u00FC'), '\xFC');
    EXPECT_EQ(platform::EncodeCp1252(0x0081), '\x81');
    EXPECT_FALSE(platform::EncodeCp1252(0x0080).has_value());
    EXPECT_FALSE(platform::EncodeCp1252(0x0100).has_value());
}

TEST(TerminalCp1252, ReportsIncompleteUtf8SoThatKeysCanWaitForTheRest)
{
    const platform::Utf8Step step = platform::DecodeUtf8("\xE2\x82");
    EXPECT_EQ(step.kind, platform::Utf8Step::Kind::Incomplete);
    EXPECT_EQ(step.length, 2u);
    const platform::Utf8Step whole = platform::DecodeUtf8("\xE2\x82\xAC!");
    EXPECT_EQ(whole.kind, platform::Utf8Step::Kind::Char);
    EXPECT_EQ(whole.ch, 0x20AC);
    EXPECT_EQ(whole.length, 3u);
}

TEST(TerminalCp1252, FoldsCapitalsOfTheWholeCodePage)
{
    const struct {
        char in, out;
    } cases[] = {
        {'A', 'a'}, {'z', 'z'}, {'1', '1'}, {'\xC9', '\xE9'}, {'\xDE', '\xFE'},
        {'\xD7', '\xD7'}, // multiplication sign has no lower case
        {'\xDF', '\xDF'}, {'\x8A', '\x9A'}, {'\x8C', '\x9C'}, {'\x8E', '\x9E'}, {'\x9F', '\xFF'},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::FoldCase(c.in), c.out) << int(static_cast<unsigned char>(c.in));
}

} // namespace
