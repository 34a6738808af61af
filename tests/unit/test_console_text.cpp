// What a command-line program needs of the platform: its texts at the edges
// (console, JSON, arguments) and the files of a folder with their times.
#include "unit/TempAppFolder.h"

#include "platform/ConsoleText.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

TEST(ConsoleText, SystemTextBecomesUtf8AndArgumentsBecomeSystemText)
{
    // Windows-1252, as the program keeps its texts (the ANSI code page under Wine).
    EXPECT_EQ(platform::Utf8Text("caf\xE9 \x80 \x9F"), "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8");
    EXPECT_EQ(platform::Utf8Text(""), "");
    // Arguments come in UTF-8 on every platform (Windows: from its wide
    // command line).
    struct Case {
        const char* argument;
        const char* text;
        std::u32string foreign;
    };
    const Case cases[] = {
        {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80", U""},
        {"caf\xE9", "caf\xE9", U""}, // bytes that are no UTF-8 are taken as they are
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega \xF0\x9F\x98\x80", "?\xF3" "d? ?mega ?", U"\u0141\u017A\u03A9\U0001F600"},
    };
    for (const Case& c : cases) {
        const platform::CodePageText taken = platform::ArgumentText(c.argument);
        EXPECT_EQ(taken.text, c.text) << c.argument;
        EXPECT_EQ(taken.foreign, c.foreign) << c.argument;
    }
    EXPECT_EQ(platform::Utf16ToUtf8(*platform::Utf8ToUtf16("\xC5\x81 \xF0\x9F\x98\x80")), "\xC5\x81 \xF0\x9F\x98\x80");
    EXPECT_EQ(platform::Utf16ToUtf8(u"a\xD800"), "a\xEF\xBF\xBD") << "an unpaired surrogate";
}

TEST(FolderFiles, ListsTheRegularFilesWithTheTimesTheyWereWritten)
{
    TempAppFolder folder;
    folder.Write("old.reg", "1");
    folder.Write("new.reg", "2");
    std::filesystem::create_directory(folder.Folder() / "sub.reg");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(folder.Folder() / "old.reg", now - std::chrono::hours(1));
    std::filesystem::last_write_time(folder.Folder() / "new.reg", now);

    std::vector<platform::FolderFile> files = platform::ListFiles(folder.Folder().string());
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "new.reg");
    EXPECT_EQ(files[1].name, "old.reg");
    EXPECT_GT(files[0].modified, files[1].modified);

    const std::string missing = folder.Path("missing");
    try {
        platform::ListFiles(missing);
        ADD_FAILURE() << "a missing folder is read";
    } catch (const platform::CFileException& e) {
        EXPECT_EQ(e.Path(), missing);
    }
}
