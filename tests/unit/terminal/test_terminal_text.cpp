// How controls show text: mnemonics, word wrapping, the key help line.
#include "backends/terminal/TextLayout.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(TerminalText, WrapsAtLineEndsAndBetweenWords)
{
    const struct {
        const char* text;
        int width;
        Lines lines;
    } cases[] = {
        {"", 10, {}},
        {"one two three", 20, {"one two three"}},
        {"one two three", 7, {"one two", "three"}},
        {"one\r\ntwo", 20, {"one", "two"}},
        {"one\ntwo", 20, {"one", "two"}},
        {"one\rtwo", 20, {"one", "two"}},
        {"one\n\ntwo", 20, {"one", "", "two"}},
        {"one\r\n", 20, {"one"}},
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"ab abcdefghij", 4, {"ab", "abcd", "efgh", "ij"}},
        {"in \"/home/ann/backup\": 3", 12, {"in", "\"/home/ann/", "backup\": 3"}},
        {"C:\\Users\\Ann\\backup", 10, {"C:\\Users\\", "Ann\\backup"}},
        {"/abcdefghij", 4, {"/abc", "defg", "hij"}},
        {"a    b", 3, {"a", "b"}},
        {"tab\there", 20, {"tab here"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backends::terminal::WrapText(c.text, c.width), c.lines) << c.text << " / " << c.width;
}

TEST(TerminalText, ATextWrappedIntoTooFewRowsEndsInAnEllipsis)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(backends::terminal::WrapToFit("one two three", 8, 2), (V{"one two", "three"}));
    EXPECT_EQ(backends::terminal::WrapToFit("one two three four", 8, 2), (V{"one two", "three\x85"}));
    EXPECT_EQ(backends::terminal::WrapToFit("one two eighteen x", 8, 2), (V{"one two", "eightee\x85"}));
    EXPECT_EQ(backends::terminal::WrapToFit("a\nb\nc", 5, 1), (V{"a\x85"}));
    EXPECT_EQ(backends::terminal::WrapToFit("a b", 5, 0), (V{"a b"})) << "no room given: no limit";
}

TEST(TerminalText, ResolvesMnemonicPrefixes)
{
    const struct {
        const char* caption;
        const char* text;
        int mnemonic;
    } cases[] = {
        {"&Save", "Save", 0},      {"Go to Orvelle &website", "Go to Orvelle website", 14},
        {"a&&b", "a&b", -1},       {"&&&x", "&x", 1},
        {"end&", "end&", -1},      {"plain", "plain", -1},
    };
    for (const auto& c : cases) {
        const backends::terminal::Label l = backends::terminal::ParseLabel(c.caption);
        EXPECT_EQ(l.text, c.text) << c.caption;
        EXPECT_EQ(l.mnemonic, c.mnemonic) << c.caption;
    }
    EXPECT_EQ(backends::terminal::MnemonicOf("&Datei"), 'd');
    EXPECT_EQ(backends::terminal::MnemonicOf("&\xC4nderungen"), '\xE4');
    EXPECT_EQ(backends::terminal::MnemonicOf("None"), '\0');
}

TEST(TerminalText, KeyHelpDropsTheLeastImportantEntriesFirst)
{
    const std::vector<backends::terminal::HelpItem> items = {{"Tab next", 2}, {"Enter OK", 1}, {"F1 help", 3}, {"Esc cancel", 1}};
    EXPECT_EQ(backends::terminal::FitHelp(items, 80), "Tab next  Enter OK  F1 help  Esc cancel");
    EXPECT_EQ(backends::terminal::FitHelp(items, 35), "Tab next  Enter OK  Esc cancel");
    EXPECT_EQ(backends::terminal::FitHelp(items, 20), "Enter OK  Esc cancel");
    EXPECT_EQ(backends::terminal::FitHelp(items, 5), "");
}

} // namespace
