// Messages in the loaded language, with English where it lacks a key, and
// their placeholders.
#include "platform/Texts.h"

#include <gtest/gtest.h>

TEST(Texts, PlaceholdersTakeTheArgumentsInTheTranslationsOrder)
{
    struct Case {
        const char* text;
        const char* out;
    };
    const Case cases[] = {
        {"%1 of %2", "A of B"},
        {"%2 von %1", "B von A"},
        {"%1%1", "AA"},
        {"100%% sure", "100% sure"},
        {"%3 stays", "%3 stays"},
        {"%0 and %x", "%0 and %x"},
        {"ends with %", "ends with %"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::FormatText(c.text, {"A", "B"}), c.out) << c.text;
    // An argument is put in as it is, never read for placeholders itself.
    EXPECT_EQ(platform::FormatText("%1 %2", {"%2", "x"}), "%2 x");
}

TEST(Texts, TheLoadedLanguageElseEnglish)
{
    constexpr platform::TextId kHello{1999, "Hello %1"};
    EXPECT_EQ(platform::Text(kHello, {"you"}), "Hello you");
    {
        const platform::ScopedTextLookup german([](int key) -> std::optional<std::string> {
            if (key == 1999)
                return "Hallo %1";
            return std::nullopt;
        });
        EXPECT_EQ(platform::Text(kHello, {"du"}), "Hallo du");
        EXPECT_EQ(platform::Text(platform::TextId{1998, "Missing"}), "Missing");
    }
    EXPECT_EQ(platform::Text(kHello, {"you"}), "Hello you");
}
