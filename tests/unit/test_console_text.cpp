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
    EXPECT_EQ(tk::Utf8Text("caf\xE9 \x80 \x9F"), "caf\xC3\xA9 \xE2\x82\xAC \xC5\xB8");
    EXPECT_EQ(tk::Utf8Text(""), "");
#ifdef _WIN32
    EXPECT_EQ(tk::ArgumentText("caf\xE9"), "caf\xE9");
#else
    EXPECT_EQ(tk::ConsoleText("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(tk::ArgumentText("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
    EXPECT_EQ(tk::ArgumentText("caf\xE9"), "caf\xE9") << "bytes that are no UTF-8 are taken as they are";
    EXPECT_EQ(tk::ArgumentText("\xC5\x81"), std::nullopt) << "a character the code page lacks";
#endif
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

    std::vector<tk::FolderFile> files = tk::ListFiles(folder.Folder().string());
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "new.reg");
    EXPECT_EQ(files[1].name, "old.reg");
    EXPECT_GT(files[0].modified, files[1].modified);

    const std::string missing = folder.Path("missing");
    try {
        tk::ListFiles(missing);
        ADD_FAILURE() << "a missing folder is read";
    } catch (const tk::CFileException& e) {
        EXPECT_EQ(e.Path(), missing);
    }
}
