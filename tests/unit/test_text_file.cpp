#include "unit/NonRegularFiles.h"
#include "unit/TempAppFolder.h"

#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "util/TextFile.h"

#include <gtest/gtest.h>

#include <tuple>

using Lines = std::vector<std::string>;

TEST(TextFile, SplitsAtCrLfAndLfOnly)
{
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a\rb\r"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b\rc", "d"}},
        {"\r\n", {""}},
        {"\r", {"\r"}},
        {"\n\n", {"", ""}},
        {"a\r\r\nb", {"a\r", "b"}},
        {"a\n\rb", {"a", "\rb"}},
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
    EXPECT_EQ(ReadTextLines(app.Path("mixed.ini")), (Lines{"one", "two", "three\rfour"}));
    app.Write("empty.ini", "");
    EXPECT_TRUE(ReadTextLines(app.Path("empty.ini")).empty());
}

TEST(TextFile, UnreadableFileIsAnErrorNamingIt)
{
    TempAppFolder app;
    // Opening a pipe without writer would wait; a device would be read as long as it gives bytes.
    std::vector<std::string> paths = NonRegularFiles(app);
    paths.push_back(app.Path("absent.ini"));
    for (const std::string& path : paths) {
        try {
            ReadTextLines(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const tk::CFileException& e) {
            EXPECT_EQ(e.Path(), path);
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
            EXPECT_EQ(e.Cause() == "is not a regular file", path != app.Path("absent.ini")) << e.Cause();
        }
    }
}

TEST(TextFile, WholeFileKeepsToItsLimit)
{
    TempAppFolder app;
    app.Write("ten.ini", "0123456789");
    EXPECT_EQ(tk::ReadWholeFile(app.Path("ten.ini"), 10), "0123456789");
    app.Write("big.ini", std::string((1u << 20) + 1, 'x'));
    for (const auto& [path, limit, named] : {std::tuple{app.Path("ten.ini"), 9u, "9 bytes"},
                                             {app.Path("big.ini"), 1u << 20, "1 MB"}}) {
        try {
            tk::ReadWholeFile(path, limit);
            ADD_FAILURE() << "no error for " << path;
        } catch (const tk::CFileException& e) {
            EXPECT_EQ(e.Path(), path);
            EXPECT_NE(e.Cause().find(named), std::string::npos) << e.Cause();
        }
    }
}
