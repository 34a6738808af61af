#include "unit/TempAppFolder.h"

#include "i18n/Translation.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace util;
using namespace i18n;

namespace {

using Lines = std::vector<std::string>;
using Entries = std::vector<std::pair<std::int32_t, std::string>>;

Entries Flatten(const std::vector<TranslationEntry>& entries)
{
    Entries flat;
    for (const TranslationEntry& entry : entries)
        flat.emplace_back(entry.key, entry.text);
    return flat;
}

std::string Join(const Lines& lines, const std::string& end, bool lastLineEnded = true)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (lastLineEnded || i + 1 < lines.size() ? end : "");
    return text;
}

void WriteConfig(const TempAppFolder& app, const std::string& language, const std::string& productId = "Tune")
{
    app.Write("config.ini", Join({"Product ID", productId, "Language", language}, "\r\n"));
}

const Lines kTwoLanguages = {
    "; translations", "",
    "[1033]", "", "00002 English", "00005 Save", "00125 Only in English", "[EOL]",
    "between sections",
    "[1031]", "", "00002 Deutsch", "00005 Speichern", "[EOL]",
};

} // namespace

TEST(TranslationSection, EntryLineShapes)
{
    const struct {
        std::string line;
        Entries entries;
    } cases[] = {
        {"00005 Save", {{5, "Save"}}},
        {"    5 Save", {{5, "Save"}}},
        {"00005\tSave", {{5, "Save"}}},
        {"00005xSave", {{5, "Save"}}},
        {"1a000 Name", {{10000, "Name"}}},
        {"00005   Save ", {{5, "  Save "}}},
        {"00007", {{7, ""}}},
        {"000071", {{7, ""}}},
        {"12345 \xC4nderung", {{12345, "\xC4nderung"}}},
        {"", {}},
        {"0001", {}},
        {"[1034]", {{1034, ""}}},
    };
    for (const auto& c : cases) {
        const auto section = ParseTranslationSection(Join({"[1033]", c.line, "[EOL]"}, "\r\n"), "[1033]");
        ASSERT_TRUE(section.has_value());
        EXPECT_EQ(Flatten(*section), c.entries) << '"' << c.line << '"';
    }
}

TEST(TranslationSection, BoundariesAndHeaders)
{
    const struct {
        const char* what;
        std::string text;
        std::string code;
        std::optional<Entries> entries;
    } cases[] = {
        {"second section only", Join(kTwoLanguages, "\n"), "[1031]", Entries{{2, "Deutsch"}, {5, "Speichern"}}},
        {"header absent", Join(kTwoLanguages, "\n"), "[1034]", std::nullopt},
        {"empty code names no section", Join(kTwoLanguages, "\n"), "", std::nullopt},
        {"header matches whole lines only", Join({" [1031]", "[1031] ", "00001 x", "[EOL]"}, "\n"), "[1031]",
         std::nullopt},
        {"empty section", Join({"[1031]", "[EOL]", "00001 x"}, "\n"), "[1031]", Entries{}},
        {"missing [EOL] runs into the next section",
         Join({"[1033]", "00001 one", "[1031]", "00001 eins", "[EOL]", "00002 after"}, "\n"),
         "[1033]",
         Entries{{1, "one"}, {1031, ""}, {1, "eins"}}},
        {"missing [EOL] at the end keeps what was read", Join({"[1033]", "00001 one", "00002 two"}, "\n"), "[1033]",
         Entries{{1, "one"}, {2, "two"}}},
        {"[EOL] must be the whole line", Join({"[1033]", "[EOL] ", "[EOL]"}, "\n"), "[1033]", Entries{{0, ""}}},
        {"parts of lines are passed over", "x[1031]\n[1031]y\n[1031]\r\n00001 a\n[EOL]", "[1031]", Entries{{1, "a"}}},
        {"a lone CR ends no header", "[1031]\r00001 a\n[EOL]\n", "[1031]", std::nullopt},
        {"nor an entry nor [EOL]", "[1031]\n00005 a\r00006 b\r\n[EOL]\r00007 c\n[EOL]", "[1031]",
         Entries{{5, "a\r00006 b"}, {0, "00007 c"}}},
        {"a CR before CR LF belongs to the header", "[1031]\r\r\n00001 a", "[1031]\r", Entries{{1, "a"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto section = ParseTranslationSection(c.text, c.code);
        ASSERT_EQ(section.has_value(), c.entries.has_value());
        if (section) {
            EXPECT_EQ(Flatten(*section), *c.entries);
        }
    }
}

TEST(Translation, LoadsTheChosenSectionWithAnyLineEnds)
{
    const struct {
        const char* name;
        std::string end;
        bool lastLineEnded;
    } variants[] = {{"CR LF", "\r\n", true}, {"LF", "\n", true}, {"no last end", "\r\n", false}};
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        TempAppFolder app;
        app.Write("config.ini", Join({"Product ID", "Tune", "Language", "[1031]"}, v.end, v.lastLineEnded));
        app.Write("Tunetrl.ini", Join(kTwoLanguages, v.end, v.lastLineEnded));
        CTranslation translation;
        translation.Load();
        EXPECT_EQ(translation.Lookup(2), "Deutsch");
        EXPECT_EQ(translation.Lookup(5), "Speichern");
        EXPECT_FALSE(translation.Has(125));
    }

    // A file read in pieces: a section that spans several, after another.
    Lines large;
    for (const std::string language : {"[1033]", "[1031]"}) {
        large.push_back(language);
        for (int key = 1000; key < 5000; ++key)
            large.push_back("0" + std::to_string(key) + " " + language + " text number " + std::to_string(key));
        large.push_back("[EOL]");
    }
    TempAppFolder app;
    WriteConfig(app, "[1031]");
    app.Write("Tunetrl.ini", Join(large, "\r\n"));
    CTranslation translation;
    translation.Load();
    for (const int key : {1000, 2345, 4999})
        EXPECT_EQ(translation.Lookup(key), "[1031] text number " + std::to_string(key));
    EXPECT_FALSE(translation.Has(5000));
}

TEST(Translation, AbsentProductIdNamesTrlIni)
{
    TempAppFolder app;
    app.Write("config.ini", Join({"Language", "[1033]"}, "\r\n"));
    app.Write("trl.ini", Join(kTwoLanguages, "\r\n"));
    CTranslation translation;
    translation.Load();
    EXPECT_EQ(translation.Lookup(2), "English");
}

TEST(Translation, LookupGivesTheFirstEntryOrAVisibleMarker)
{
    TempAppFolder app;
    WriteConfig(app, "[1033]");
    app.Write("Tunetrl.ini", Join({"[1033]", "00005 first", "00005 second", "00000 zero", "[EOL]"}, "\r\n"));
    CTranslation translation;
    EXPECT_EQ(translation.Lookup(5), "#5");
    translation.Load();
    EXPECT_EQ(translation.Lookup(5), "first");
    EXPECT_EQ(translation.Lookup(0), "zero");
    EXPECT_TRUE(translation.Has(5));
    EXPECT_FALSE(translation.Has(125));
    EXPECT_EQ(translation.Lookup(125), "#125");
    EXPECT_EQ(translation.Lookup(-3), "#-3");

    // Many keys, out of order, each twice: still the first line of each.
    std::vector<std::string> lines{"[1033]"};
    for (const char* which : {"first", "second"})
        for (int key = 40; key > 0; --key)
            lines.push_back("000" + std::to_string(key / 10) + std::to_string(key % 10) + " " + which);
    lines.push_back("[EOL]");
    app.Write("Tunetrl.ini", Join(lines, "\r\n"));
    translation.Load();
    for (int key = 1; key <= 40; ++key)
        EXPECT_EQ(translation.Lookup(key), "first") << key;
}

TEST(Translation, ReloadReplacesEveryText)
{
    TempAppFolder app;
    WriteConfig(app, "[1033]");
    app.Write("Tunetrl.ini", Join(kTwoLanguages, "\r\n"));
    CTranslation translation;
    translation.Load();
    EXPECT_EQ(translation.Lookup(125), "Only in English");
    PowerClass().WriteSetting("Language", "[1031]");
    translation.Load();
    EXPECT_EQ(translation.Lookup(5), "Speichern");
    EXPECT_FALSE(translation.Has(125));
}

TEST(Translation, MissingSectionFallsBackToEnglish)
{
    for (const std::string code : {"[1034]", "", "[----"}) {
        SCOPED_TRACE(code);
        TempAppFolder app;
        WriteConfig(app, code);
        app.Write("Tunetrl.ini", Join(kTwoLanguages, "\r\n"));
        CTranslation translation;
        translation.Load();
        EXPECT_EQ(translation.Lookup(2), "English");
    }
}

TEST(Translation, FailedLoadKeepsThePreviousEntries)
{
    TempAppFolder app;
    WriteConfig(app, "[1031]");
    app.Write("Tunetrl.ini", Join(kTwoLanguages, "\r\n"));
    CTranslation translation;
    translation.Load();

    const std::string trl = app.Path("Tunetrl.ini");
    const struct {
        const char* what;
        std::string language;
        std::string file;
        std::string cause;
    } failures[] = {
        {"neither section", "[1034]", "Tunetrl.ini", "[1034]"},
        {"no English section", "[1033]", "Tunetrl.ini", "[1033]"},
        {"no translation file", "[1031]", "", ""},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        WriteConfig(app, f.language);
        if (f.file.empty())
            std::filesystem::remove(trl);
        else
            app.Write(f.file, Join({"[1031]", "00002 other", "[EOL]", "[1036]", "00002 Fran\xE7" "ais", "[EOL]"}, "\r\n"));
        try {
            translation.Load();
            ADD_FAILURE() << "load went through";
        } catch (const platform::CFileException& e) {
            EXPECT_EQ(e.Path(), trl);
            EXPECT_NE(e.Cause().find(f.cause), std::string::npos) << e.Cause();
            if (!f.cause.empty()) {
                EXPECT_NE(e.Cause().find("[1033]"), std::string::npos) << e.Cause();
            }
        }
        EXPECT_EQ(translation.Lookup(2), "Deutsch");
    }

    std::filesystem::remove(app.Path("config.ini"));
    try {
        translation.Load();
        ADD_FAILURE() << "load without config.ini went through";
    } catch (const platform::CFileException& e) {
        EXPECT_EQ(e.Path(), app.Path("config.ini"));
    }
    EXPECT_EQ(translation.Lookup(5), "Speichern");
}
