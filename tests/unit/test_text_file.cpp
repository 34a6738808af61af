#include "unit/TempAppFolder.h"

#include "toolkit/Exceptions.h"
#include "util/TextFile.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(TextFile, SplitsAtEveryKindOfLineEnd)
{
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {" a \t\r\n\t", {" a \t", "\t"}},
        {"\xE9t\xE9\r\n\x80", {"\xE9t\xE9", "\x80"}},
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitLines(c.text), c.lines) << '"' << c.text << '"';
}

TEST(TextFile, ReadsFileBytesUnchanged)
{
    TempAppFolder app;
    app.Write("mixed.ini", "one\r\ntwo\nthree\rfour");
    EXPECT_EQ(ReadTextLines(app.Path("mixed.ini")), (Lines{"one", "two", "three", "four"}));
    app.Write("empty.ini", "");
    EXPECT_TRUE(ReadTextLines(app.Path("empty.ini")).empty());
}

TEST(TextFile, UnreadableFileIsAnErrorNamingIt)
{
    TempAppFolder app;
    for (const std::string& path : {app.Path("absent.ini"), app.Folder().string()}) {
        try {
            ReadTextLines(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const tk::CFileException& e) {
            EXPECT_EQ(e.Path(), path);
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
        }
    }
}
