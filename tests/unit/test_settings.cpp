#include "unit/TempAppFolder.h"

#include "platform/Exceptions.h"
#include "util/PowerClass.h"

#include <gtest/gtest.h>

#include <vector>

using namespace util;

namespace {

using Lines = std::vector<std::string>;

struct LineEnds {
    const char* name;
    std::string end;
    bool lastLineEnded;
};

const LineEnds kLineEnds[] = {
    {"CR LF", "\r\n", true},
    {"LF", "\n", true},
    {"no end after the last line", "\r\n", false},
};

std::string Join(const Lines& lines, const LineEnds& ends)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (ends.lastLineEnded || i + 1 < lines.size())
            text += ends.end;
    }
    return text;
}

std::string CrLf(const Lines& lines)
{
    return Join(lines, kLineEnds[0]);
}

} // namespace

TEST(Settings, ApplicationFolderIsTheExecutablesFolder)
{
    TempAppFolder app;
    const auto tools = app.Folder() / "Tools";
    platform::Services services;
    services.executablePath = (tools / "tunewright").string();
    platform::ScopedServices scope(services);
    PowerClass power;
    EXPECT_EQ(power.GetApplicationFolder(), tools.string());
    EXPECT_EQ(power.SettingsPath(), (tools / "config.ini").string());

    services.executablePath = "/tunewright";
    platform::ScopedServices inRoot(services);
    EXPECT_EQ(power.SettingsPath(), "/config.ini");
}

TEST(Settings, ReadTakesTheValueLineAfterAWholeLineKey)
{
    const Lines config = {
        "Product ID", "Tune",
        "Language", "[1031]",
        "Dialects[1031]", "",
        "free text",
        "Homepage", "http://first.example",
        "Homepage", "http://second.example",
        "Dialects[1034]", "Dialects[1034]", "[2058]", // the value line is consumed
    };
    for (const LineEnds& ends : kLineEnds) {
        SCOPED_TRACE(ends.name);
        TempAppFolder app;
        app.Write("config.ini", Join(config, ends));
        PowerClass power;
        EXPECT_EQ(power.ReadSetting("Product ID"), "Tune");
        EXPECT_EQ(power.ReadSetting("Language"), "[1031]");
        EXPECT_EQ(power.ReadSetting("Homepage"), "http://second.example");
        EXPECT_EQ(power.ReadSetting("Dialects[1031]"), "");
        EXPECT_EQ(power.ReadSetting("language"), "");
        EXPECT_EQ(power.ReadSetting("Language "), "");
        EXPECT_EQ(power.ReadSetting("Dialects[1034]"), "Dialects[1034]");
        EXPECT_EQ(power.ReadSetting("Dialects[1036]"), "");
    }
}

TEST(Settings, AValueLineIsNeverAKeyLine)
{
    const struct {
        Lines config;
        std::string read; // of "Language"
        Lines written;    // after writing "new" to "Language"
    } cases[] = {
        {{"Language", "[1033]", "Homepage", "Language", "[1031]"}, "[1033]",
         {"Language", "new", "Homepage", "Language", "[1031]"}},
        {{"Homepage", "Language"}, "", {"Homepage", "Language"}},
        // Only the keys the program knows consume their value line.
        {{"Colour", "Language", "[1031]"}, "[1031]", {"Colour", "Language", "new"}},
    };
    for (const auto& c : cases) {
        TempAppFolder app;
        app.Write("config.ini", CrLf(c.config));
        EXPECT_EQ(PowerClass().ReadSetting("Language"), c.read);
        PowerClass().WriteSetting("Language", "new");
        EXPECT_EQ(app.Read("config.ini"), CrLf(c.written));
    }
}

TEST(Settings, KeyOnTheLastLineReadsEmpty)
{
    TempAppFolder app;
    app.Write("config.ini", CrLf({"Language", "[1031]", "Language"}));
    EXPECT_EQ(PowerClass().ReadSetting("Language"), "");
}

TEST(Settings, MissingConfigIsAnErrorNamingIt)
{
    TempAppFolder app;
    PowerClass power;
    const std::string path = app.Path("config.ini");
    try {
        power.ReadSetting("Language");
        ADD_FAILURE() << "read gave a value";
    } catch (const platform::CFileException& e) {
        EXPECT_EQ(e.Path(), path);
    }
    try {
        power.WriteSetting("Language", "[1031]");
        ADD_FAILURE() << "write went through";
    } catch (const platform::CFileException& e) {
        EXPECT_EQ(e.Path(), path);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Settings, WriteReplacesEveryValueAndRewritesWithCrLf)
{
    const Lines before = {"Product ID", "Tune", "", "Language", "[1033]", "Homepage", "a", "Homepage", "b"};
    const Lines after = {"Product ID", "Tune", "", "Language", "[1033]", "Homepage", "c", "Homepage", "c"};
    for (const LineEnds& ends : kLineEnds) {
        SCOPED_TRACE(ends.name);
        TempAppFolder app;
        app.Write("config.ini", Join(before, ends));
        PowerClass().WriteSetting("Homepage", "c");
        EXPECT_EQ(app.Read("config.ini"), CrLf(after));
    }
}

TEST(Settings, WriteIsSeenByTheNextReadOfAnotherObject)
{
    TempAppFolder app;
    app.Write("config.ini", CrLf({"Language", "[1033]", "Homepage", "x"}));
    PowerClass writer;
    PowerClass reader;
    EXPECT_EQ(reader.ReadSetting("Language"), "[1033]");
    writer.WriteSetting("Language", "[----]");
    EXPECT_EQ(reader.ReadSetting("Language"), "[----]");
    writer.WriteSetting("Language", "");
    EXPECT_EQ(app.Read("config.ini"), CrLf({"Language", "", "Homepage", "x"}));
    // The file is replaced, not rewritten in place: nothing else is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(app.Folder()), {}), 1);
}

TEST(Settings, WriteOfAnAbsentKeyOnlyNormalisesLineEnds)
{
    // A lone CR ends no line: it stays inside its line.
    TempAppFolder app;
    app.Write("config.ini", "Language\n[1033]\rHomepage");
    PowerClass().WriteSetting("Product ID", "Tune");
    EXPECT_EQ(app.Read("config.ini"), CrLf({"Language", "[1033]\rHomepage"}));
}

TEST(Settings, WriteToAKeyWithoutValueLineLeavesTheFileUntouched)
{
    // The first occurrence could be changed, the last cannot: neither is.
    const std::string original = "Language\n[1033]\nLanguage";
    TempAppFolder app;
    app.Write("config.ini", original);
    try {
        PowerClass().WriteSetting("Language", "[1031]");
        ADD_FAILURE() << "write went through";
    } catch (const platform::CFileException& e) {
        EXPECT_EQ(e.Path(), app.Path("config.ini"));
        EXPECT_NE(e.Cause().find("no value line"), std::string::npos) << e.Cause();
    }
    EXPECT_EQ(app.Read("config.ini"), original);
}
