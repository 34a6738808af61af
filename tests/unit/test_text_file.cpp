#include "unit/NonRegularFiles.h"
#include "unit/TempAppFolder.h"

#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "util/TextFile.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace util;

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
        } catch (const platform::CFileException& e) {
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
    EXPECT_EQ(platform::ReadWholeFile(app.Path("ten.ini"), 10), "0123456789");
    app.Write("big.ini", std::string((1u << 20) + 1, 'x'));
    for (const auto& [path, limit, named] : {std::tuple{app.Path("ten.ini"), 9u, "9 bytes"},
                                             {app.Path("big.ini"), 1u << 20, "1 MB"}}) {
        try {
            platform::ReadWholeFile(path, limit);
            ADD_FAILURE() << "no error for " << path;
        } catch (const platform::CFileException& e) {
            EXPECT_EQ(e.Path(), path);
            EXPECT_NE(e.Cause().find(named), std::string::npos) << e.Cause();
        }
    }
}

// A file read in pieces of any size, whatever size it claimed, comes whole;
// past the limit reading stops; a failed or throwing read is told.
TEST(TextFile, WholeFileReadInPieces)
{
    std::string source(200000, '\0');
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<char>('a' + i * 7 % 26);
    const struct {
        std::size_t size, hint, piece, limit;
    } cases[] = {
        {0, 0, 4096, 100},     {10, 10, 4096, 100},        {10, 0, 1, 100},
        {10, 50, 3, 100},      {200000, 200000, 65536, 1u << 20}, {200000, 0, 4093, 1u << 20},
        {200000, 100, 7777, 1u << 20}, {200000, 200000, 4096, 150000}, {101, 101, 4096, 100},
    };
    for (const auto& c : cases) {
        std::size_t at = 0;
        const platform::detail::ReadSome read = [&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
            const std::size_t n = std::min({size, c.piece, c.size - at});
            std::copy_n(source.data() + at, n, buffer);
            at += n;
            return n;
        };
        std::string content;
        ASSERT_TRUE(platform::detail::ReadAtMost(c.hint, c.limit, read, content)) << c.size << " " << c.hint;
        if (c.size <= c.limit)
            EXPECT_EQ(content, source.substr(0, c.size)) << c.size << " " << c.hint << " " << c.piece;
        else
            EXPECT_GT(content.size(), c.limit) << c.size << " " << c.limit;
    }
    std::string content;
    EXPECT_FALSE(platform::detail::ReadAtMost(10, 100, [](char*, std::size_t) { return std::nullopt; }, content));
    EXPECT_THROW((void)platform::detail::ReadAtMost(10, 100,
                                                    [](char*, std::size_t) -> std::optional<std::size_t> {
                                                  throw platform::CFileException("f.ini", "cannot be read");
                                              },
                                                    content),
                 platform::CFileException);
}

// Pieces are whole lines that join to the file, whatever the reads return: a
// line longer than a piece grows it, the last line may lack its end, and
// reading stops when the reader has enough or past the limit.
TEST(TextFile, FileReadInPiecesOfWholeLines)
{
    const struct {
        std::string source;
        std::size_t piece, read;
    } cases[] = {
        {"", 8, 8},
        {"a\r\nbb\r\nccc\r\n", 4, 3},
        {"a\nlong line of many bytes\nb", 4, 2},
        {"no line end at all", 4, 5},
        {"x\ny\n", 64, 1},
    };
    for (const auto& c : cases) {
        std::size_t at = 0;
        const platform::detail::ReadSome read = [&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
            const std::size_t n = std::min({size, c.read, c.source.size() - at});
            std::copy_n(c.source.data() + at, n, buffer);
            at += n;
            return n;
        };
        std::string joined;
        platform::detail::ReadPieces(platform::detail::LimitedRead("f.ini", 100, c.source.size(), read), c.piece,
                                     [&](std::string_view piece) {
            EXPECT_FALSE(piece.empty());
            if (joined.size() + piece.size() < c.source.size())
                EXPECT_EQ(piece.back(), '\n') << c.source;
            joined += piece;
            return true;
        });
        EXPECT_EQ(joined, c.source);
    }
    const std::string lines(200, '\n');
    std::size_t at = 0;
    const platform::detail::ReadSome read = [&](char* buffer, std::size_t size) -> std::optional<std::size_t> {
        const std::size_t n = std::min(size, lines.size() - at);
        std::copy_n(lines.data() + at, n, buffer);
        at += n;
        return n;
    };
    int pieces = 0;
    platform::detail::ReadPieces(platform::detail::LimitedRead("f.ini", 1000, 0, read), 16,
                                 [&](std::string_view) { return ++pieces < 2; });
    EXPECT_EQ(pieces, 2);
    at = 0;
    EXPECT_THROW(platform::detail::ReadPieces(platform::detail::LimitedRead("f.ini", 100, 0, read), 16,
                                             [](std::string_view) { return true; }),
                 platform::CFileException);
}
