// The Windows twins of the file services, and an installation whose folder
// name is not ASCII ("café" in Windows-1252).
#include "unit/NonRegularFiles.h"
#include "unit/TempAppFolder.h"

#include "i18n/Translation.h"
#include "platform/AtomicFile.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/NewFile.h"
#include "platform/win32/Win32.h"
#include "util/PowerClass.h"
#include "util/TextFile.h"

#include <gtest/gtest.h>

using namespace util;
using namespace i18n;

namespace {

void ExpectRefused(const std::string& path, const std::string& cause)
{
    try {
        platform::WriteFileAtomically(path, "new");
        ADD_FAILURE() << "no error for " << path;
    } catch (const platform::CFileException& e) {
        EXPECT_EQ(e.Path(), path);
        EXPECT_EQ(e.Cause(), cause);
    }
}

} // namespace

TEST(Win32Files, AtomicWritesReplaceWholeFilesAndRefuseWhatTheyMayNot)
{
    TempAppFolder app;
    const std::string file = app.Path("config.ini");
    platform::WriteFileAtomically(file, "one");
    platform::WriteFileAtomically(file, "two\r\n");
    EXPECT_EQ(app.Read("config.ini"), "two\r\n");

    // A temporary file of a writer that is gone goes; one of a live writer stays.
    const std::string live = ".config.ini.tw-" + std::to_string(::GetCurrentProcessId()) + "-abcdef";
    app.Write(".config.ini.tw-99999999-abcdef", "dead");
    app.Write(live, "live");
    platform::WriteFileAtomically(file, "three");
    EXPECT_EQ(app.Entries(), (std::vector<std::string>{live, "config.ini"}));

    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectRefused(file, "is read-only");
    EXPECT_EQ(app.Read("config.ini"), "three");
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string& path : NonRegularFiles(app))
        ExpectRefused(path, "is not a regular file and is not replaced");
    EXPECT_EQ(app.Entries(), (std::vector<std::string>{live, "config.ini"}));
}

// The folder is made and named with the system's narrow functions: the bytes
// stay Windows-1252 all the way.
TEST(Win32Files, AnInstallationInANonAsciiFolderIsFoundReadAndWritten)
{
    TempAppFolder base;
    const std::string folder = base.Folder().string() + "\\caf\xE9";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    platform::WriteFileAtomically(folder + "\\config.ini", "Product ID\r\n0019\r\nLanguage\r\n[1033]\r\n");
    platform::WriteFileAtomically(folder + "\\0019trl.ini", "[1033]\r\n00005 Caf\xE9\r\n[EOL]\r\n");
    platform::WriteFileAtomically(folder + "\\0019fct.ini", "10000 0810\r\n");

    platform::Services services;
    services.executablePath = folder + "\\tunewright.exe";
    platform::ScopedServices installed(services);
    PowerClass power;
    EXPECT_EQ(power.GetApplicationFolder(), folder);
    EXPECT_TRUE(platform::IsFolder(folder));
    EXPECT_EQ(platform::FullPath(folder + "\\sub\\..\\"), folder);
    EXPECT_TRUE(PowerClass::FileHasLine(folder + "\\0019fct.ini", "10000 0810"));

    CTranslation translation;
    translation.Load();
    EXPECT_EQ(translation.Lookup(5), "Caf\xE9");
    power.WriteSetting("Language", "[1031]");
    EXPECT_EQ(ReadTextFile(folder + "\\config.ini"), "Product ID\r\n0019\r\nLanguage\r\n[1031]\r\n");
    EXPECT_EQ(power.ReadSetting("Language"), "[1031]");
}

TEST(Win32Files, ANewFileNeverTakesAnExistingName)
{
    TempAppFolder app;
    // A new file clears the temporary files of dead writers of any name.
    app.Write(".other.reg.tw-99999999-abcdef", "dead");
    EXPECT_EQ(platform::CreateNewFile(app.Path("backup.reg"), "first"), platform::NewFileResult::Created);
    EXPECT_EQ(app.Entries(), std::vector<std::string>{"backup.reg"});
    EXPECT_EQ(platform::CreateNewFile(app.Path("backup.reg"), "second"), platform::NewFileResult::NameTaken);
    EXPECT_EQ(app.Read("backup.reg"), "first");
    ASSERT_TRUE(::CreateDirectoryA(app.Path("folder.reg").c_str(), nullptr));
    EXPECT_EQ(platform::CreateNewFile(app.Path("folder.reg"), "third"), platform::NewFileResult::NameTaken);
    EXPECT_THROW(static_cast<void>(platform::CreateNewFile(app.Path("absent\\x.reg"), "")), platform::CFileException);
}
