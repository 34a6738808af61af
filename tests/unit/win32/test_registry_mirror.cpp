// The registry of a scripted run on Windows: a REGEDIT4 file seeds a sandbox
// that the real registry functions work on, and gets back what they changed.
#include "unit/RecordingBackend.h"
#include "unit/RegTreeOf.h"
#include "unit/RegistryChanges.h"
#include "unit/TempAppFolder.h"

#include "platform/Exceptions.h"
#include "regsandbox/RegistryFileMirror.h"
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace platform;
using namespace regfile;
using namespace regsandbox;
using namespace toolkit;

namespace {

const char* const kSeed = "REGEDIT4\r\n\r\n"
                          "; kept with its key\r\n"
                          "[HKEY_CURRENT_USER\\Software\\MirrorTest]\r\n"
                          "\"Old\"=\"1\"\r\n"
                          "\"Gone\"=dword:00000002\r\n\r\n"
                          "[HKEY_LOCAL_MACHINE\\Software\\MirrorTest\\Empty]\r\n";

// The names of the keys below the user's key; empty when it does not exist.
std::vector<std::string> SubKeys(const char* subKey)
{
    HKEY key = nullptr;
    std::vector<std::string> names;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    DWORD length = sizeof name;
    for (DWORD i = 0; ::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i) {
        names.emplace_back(name, length);
        length = sizeof name;
    }
    ::RegCloseKey(key);
    return names;
}

bool Exists(const char* subKey)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

} // namespace

TEST(RegistryMirror, ARunChangesTheFileAndNeverTheMachine)
{
    TempAppFolder app;
    const std::string file = app.Path("registry.reg");
    app.Write("registry.reg", kSeed);
    {
        RegistryFileMirror mirror(file);
        IRegistry& registry = mirror;
        // The roots of the process lead into the sandbox: the system's own
        // functions see the file's keys.
        HKEY key = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\MirrorTest\\Empty", 0, KEY_READ, &key),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        const auto old = registry.QueryValue(RegRoot::CurrentUser, "Software\\MirrorTest", "Old");
        ASSERT_TRUE(old);
        EXPECT_EQ(old.Value().data, RegValue::String("1").data);
        ASSERT_TRUE(registry.SetValue(RegRoot::CurrentUser, "Software\\MirrorTest\\\\New", "n", RegValue::Dword(7)));
        ASSERT_TRUE(registry.DeleteValue(RegRoot::CurrentUser, "Software\\MirrorTest", "Gone"));
        mirror.Save();
    }
    // The store's canonical text: every key, parents included, in order.
    EXPECT_EQ(app.Read("registry.reg"), "REGEDIT4\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                                        "; kept with its key\r\n"
                                        "[HKEY_CURRENT_USER\\Software\\MirrorTest]\r\n"
                                        "\"Old\"=\"1\"\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Software\\MirrorTest\\New]\r\n"
                                        "\"n\"=dword:00000007\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\Software\\MirrorTest]\r\n\r\n"
                                        "[HKEY_LOCAL_MACHINE\\Software\\MirrorTest\\Empty]\r\n");
    // Neither the keys of the run nor its sandbox are left in the registry.
    // Other drivers' sandboxes may be there meanwhile; this process's is not.
    EXPECT_FALSE(Exists("Software\\MirrorTest"));
    const std::string ours = std::to_string(::GetCurrentProcessId()) + "-";
    for (const std::string& sandbox : SubKeys("Software\\Tunewright Script"))
        EXPECT_FALSE(sandbox.starts_with(ours)) << sandbox;
}

TEST(RegistryMirror, ARunThatChangesNothingWritesNothing)
{
    TempAppFolder app;
    const std::string seed = std::string(kSeed) + "\"Unsorted\"=\"x\"\r\n";
    app.Write("registry.reg", seed);
    RegistryFileMirror(app.Path("registry.reg")).Save();
    EXPECT_EQ(app.Read("registry.reg"), seed);

    RegistryFileMirror(app.Path("absent.reg")).Save();
    EXPECT_FALSE(std::filesystem::exists(app.Folder() / "absent.reg"));

    app.Write("broken.reg", "REGEDIT4\r\n[HKEY_NOWHERE\\x]\r\n");
    EXPECT_THROW(RegistryFileMirror(app.Path("broken.reg")), CException);
}

TEST(RegistryMirror, AReadOnlyFileRefusesChangesAndSaysWhy)
{
    TempAppFolder app;
    app.Write("registry.reg", kSeed);
    ASSERT_TRUE(::SetFileAttributesA(app.Path("registry.reg").c_str(), FILE_ATTRIBUTE_READONLY));
    RecordingBackend backend;
    ScopedBackend installed(backend);
    {
        RegistryFileMirror mirror(app.Path("registry.reg"));
        // Nothing to change is no change, and no refusal.
        EXPECT_TRUE(mirror.SetValue(RegRoot::CurrentUser, "Software\\MirrorTest", "Old", RegValue::String("1")));
        EXPECT_EQ(mirror.DeleteValue(RegRoot::CurrentUser, "Software\\MirrorTest", "None").Error(),
                  RegError::ValueNotFound);
        EXPECT_TRUE(backend.errors.empty());
        for (const RegResult& change :
             {mirror.SetValue(RegRoot::CurrentUser, "Software\\MirrorTest", "Old", RegValue::String("2")),
              mirror.DeleteValue(RegRoot::CurrentUser, "Software\\MirrorTest", "Old")}) {
            ASSERT_FALSE(change);
            EXPECT_EQ(change.Error(), RegError::WriteFailed);
            EXPECT_EQ(change.Error().cause, "the registry store \"" + app.Path("registry.reg") + "\" is read-only");
        }
        mirror.Save();
    }
    EXPECT_TRUE(backend.errors.empty()) << "the caller tells the user";
    ::SetFileAttributesA(app.Path("registry.reg").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(app.Read("registry.reg"), kSeed);
}

// The real registry functions under the sandbox: keys removed only when they
// hold nothing, the default ApplyChanges, and the file written back.
TEST(RegistryMirror, ChangesOfManyValuesReachTheFileAsEachRowSays)
{
    for (const ChangesCase& c : ChangesCases()) {
        SCOPED_TRACE(c.what);
        TempAppFolder app;
        const std::string file = app.Path("registry.reg");
        app.Write("registry.reg", std::string("REGEDIT4\r\n") + c.before);
        {
            RegistryFileMirror mirror(file);
            ASSERT_TRUE(mirror.ApplyChanges(c.values, c.emptyKeys));
            mirror.Save();
        }
        EXPECT_EQ(SerialiseRegFile(TreeOf(app.Read("registry.reg"))),
                  SerialiseRegFile(TreeOf(std::string("REGEDIT4\r\n") + c.after)));
    }
}

TEST(RegistryMirror, AReadOnlyFileKeepsAnEmptyKeyAndSaysSo)
{
    TempAppFolder app;
    const std::string file = app.Path("registry.reg");
    app.Write("registry.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\MirrorTest\\Empty]\r\n");
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        RegistryFileMirror mirror(file);
        const auto removed = mirror.DeleteEmptyKey(RegRoot::CurrentUser, "Software\\MirrorTest\\Empty");
        ASSERT_FALSE(removed);
        EXPECT_EQ(removed.Error().cause, "the registry store \"" + file + "\" is read-only");
        const auto missing = mirror.DeleteEmptyKey(RegRoot::CurrentUser, "Software\\MirrorTest\\Missing");
        ASSERT_TRUE(missing);
        EXPECT_FALSE(missing.Value());
    }
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}
