// tunewright-cli as a user runs it: set writes the backup the window writes,
// byte for byte; bad input fails naming what is wrong and changes nothing;
// a profile exported from one installation gives another the same values;
// text and JSON output in their encodings.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace e2e;

namespace {

namespace fs = std::filesystem;

const std::string kKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Test";
const std::string kNow = "--now 2024-03-05T09:05";

const std::vector<std::string> kNames = {"Menu delay", "Dword number", "Folder",   "String switch", "Dword switch",
                                         "Yes no",     "Deep text",    "All bits", "Open",          "Caf\xE9"};
const std::vector<std::string> kCatalogue = {
    "10000 0210", "10001 HKEY_CURRENT_USER\\\\Control Panel\\\\Desktop", "10002 MenuShowDelay", "10003 1000",
    "10004 8000",
    "10010 0810", "10011 " + kKeyPath, "10012 DwNum",
    "10020 0310", "10021 " + kKeyPath, "10022 Folder",
    "10030 0110", "10031 " + kKeyPath, "10032 Str",
    "10040 0710", "10041 " + kKeyPath, "10042 DwSw",
    "10050 1010", "10051 " + kKeyPath, "10052 YN",
    "10060 0610", "10061 HKEY_CURRENT_USER\\\\Software\\\\New\\\\Deeper", "10062 Text",
    "10070 0810", "10071 " + kKeyPath, "10072 All",
    "10080 0410", "10081 notepad.exe",
    "10090 0610", "10091 " + kKeyPath, "10092 Caf\xE9",
};
const std::string kStore = "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"400\"\r\n\r\n"
                           "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"All\"=dword:ffffffff\r\n"
                           "\"DwNum\"=dword:000000ff\r\n\"DwSw\"=dword:00000000\r\n\"Folder\"=\"C:\\\\Temp\"\r\n"
                           "\"Str\"=\"1\"\r\n\"YN\"=\"no\"\r\n\"Caf\xE9\"=\"cr\xE8me\"\r\n";

struct Prepared : Installation {
    Prepared() { WriteSmall(*this, kNames, kCatalogue, kStore); }
};

// The backup files: name -> bytes.
std::map<std::string, std::string> Backups(const Installation& inst)
{
    std::map<std::string, std::string> files;
    if (!fs::is_directory(inst.File("backup")))
        return files;
    for (const auto& entry : fs::directory_iterator(inst.File("backup")))
        if (entry.path().extension() == ".reg")
            files[entry.path().filename().string()] = inst.Read("backup/" + entry.path().filename().string());
    return files;
}

} // namespace

TEST(CommandLineE2E, SetWritesTheBackupAndTheValueThatSaveInTheWindowWrites)
{
    struct Case {
        int row;
        const char* actions; // in the window
        const char* value;   // on the command line
    };
    const Case cases[] = {
        {0, "type 1005 1000", "1000"}, {1, "type 1005 -1", "-1"},       {2, "type 1006 D:\\x", "D:\\x"},
        {3, "check 1002", "off"},      {4, "check 1003", "on"},          {5, "check 1003", "1"},
        {6, "type 1006 hi", "hi"},     {7, "type 1005 -2", "-2"},
    };
    for (const Case& c : cases) {
        const std::string name = kNames[static_cast<std::size_t>(c.row)];
        SCOPED_TRACE(name);
        Prepared window;
        window.Run("tick\nselect " + std::to_string(c.row) + "\ntick\n" + c.actions + "\nclick 1010\nclick 2\n", kNow);
        Prepared command;
        const Outcome set = command.RunCli(kNow + " set " + Quote(name) + " " + Quote(c.value));
        EXPECT_EQ(set.status, 0) << set.errors;
        EXPECT_EQ(set.lines, std::vector<std::string>{"backup - 20240305 - 09.05 - " + name + ".reg"});
        EXPECT_EQ(Backups(command), Backups(window));
        EXPECT_EQ(command.Read("registry.reg"), window.Read("registry.reg"));
        EXPECT_EQ(Backups(window).size(), 1u);
    }
}

TEST(CommandLineE2E, BadInputFailsNamingWhatIsWrongAndChangesNothing)
{
    struct Case {
        const char* what;
        std::function<void(const Installation&)> prepare;
        std::string arguments;
        std::string message; // a part of standard error; FOLDER stands for the installation
        bool backupLeft = false; // a complete backup of the value from before
    };
    const auto write = [](const char* name, const char* text) {
        return [=](const Installation& inst) { inst.Write(name, text); };
    };
    const auto nothing = [](const Installation&) {};
    const std::vector<Case> cases = {
        {"an unknown function", nothing, "set Nothing 1", "there is no function \"Nothing\""},
        {"a refused number", nothing, "set " + Quote("Menu delay") + " 8001", "Hint 0"},
        {"a refused switch value", nothing, "set " + Quote("String switch") + " maybe",
         "\"maybe\" is no value for the switch \"String switch\""},
        {"a target to open", nothing, "set Open x", "the function \"Open\" opens a target"},
        {"a missing backup", nothing, "restore gone.reg", "gone.reg\": cannot"},
        {"a broken backup", write("backup/broken.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\X\r\n"), "restore broken.reg",
         "broken.reg\", line 2"},
        {"a missing profile", nothing, "apply " + Quote("FOLDER/none.reg"), "none.reg\": cannot"},
        {"a broken profile", write("profile.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=dword:1z\r\n"),
         "apply " + Quote("FOLDER/profile.reg"), "profile.reg\", line 3"},
        {"a profile that removes a key", write("profile.reg", "REGEDIT4\r\n[-HKEY_CURRENT_USER\\Software\\Test]\r\n"),
         "apply " + Quote("FOLDER/profile.reg"), "profile.reg\", line 2: a profile cannot remove the key"},
        {"a profile for another root", write("profile.reg", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.reg]\r\n@=\"x\"\r\n"),
         "apply " + Quote("FOLDER/profile.reg"), "profile.reg\", line 2: the key \"HKEY_CLASSES_ROOT\\.reg\""},
        {"a broken backup among those to undo", write("backup/backup - 20240305 - 09.06 - X.reg", "REGEDIT4\r\nx\r\n"),
         "undo --since 2024-03-05T09:00", "backup - 20240305 - 09.06 - X.reg\", line 2"},
        {"no backup folder", [](const Installation& inst) { fs::remove_all(inst.File("backup")); },
         kNow + " set " + Quote("Menu delay") + " 2000", "backup - 20240305 - 09.05 - Menu delay.reg\": cannot create"},
        {"a store that is not there", nothing, "--registry " + Quote("FOLDER/none.reg") + " get 10000",
         "the registry store \"FOLDER/none.reg\" does not exist"},
        {"a store that is not there, to change", nothing,
         kNow + " --registry " + Quote("FOLDER/none.reg") + " set 10000 2000", "none.reg\" does not exist"},
        {"an installation folder that is a file", nothing, "--app-folder " + Quote("FOLDER/registry.reg") + " list",
         "registry.reg\" is a file, not a folder"},
        {"a value out of bounds in a profile", write("profile.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\"
                                                                   "Desktop]\r\n\"MenuShowDelay\"=\"99999\"\r\n"),
         "apply " + Quote("FOLDER/profile.reg"), "profile.reg\", line 4: \"99999\" is no value for the function \"Menu "
                                                "delay\" (Hint 0); nothing was changed"},
        {"a read-only store",
         [](const Installation& inst) {
             fs::permissions(inst.Registry(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
         },
         kNow + " set " + Quote("Menu delay") + " 2000", "is read-only", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prepared inst;
        c.prepare(inst);
        const std::string store = inst.Read("registry.reg");
        const auto backups = Backups(inst);
        const auto inFolder = [&inst](std::string text) {
            for (auto at = text.find("FOLDER"); at != std::string::npos; at = text.find("FOLDER"))
                text.replace(at, 6, inst.Folder());
            return text;
        };
        const std::string arguments = inFolder(c.arguments);
        const Outcome run = inst.RunCli(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find(inFolder(c.message)), std::string::npos) << run.errors;
        EXPECT_FALSE(fs::exists(inst.File("none.reg")));
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(inst.Read("registry.reg"), store);
        if (c.backupLeft) {
            EXPECT_EQ(Backups(inst).size(), backups.size() + 1);
            EXPECT_NE(run.errors.find("holds the value from before"), std::string::npos) << run.errors;
        } else {
            EXPECT_EQ(Backups(inst), backups);
        }
        fs::permissions(inst.Registry(), fs::perms::owner_write, fs::perm_options::add);
    }
}

#ifndef _WIN32
// A folder without write permission stops root as well only when the program
// runs as another user: root runs it as nobody, whom the store and its lock
// are opened to, since a store that cannot be locked is refused before the
// backup. Nobody runs a copy of the program in the installation: the build
// folder may lie where only its owner can reach.
TEST(CommandLineE2E, AReadOnlyBackupFolderStopsTheChangeBeforeAnything)
{
    Prepared inst;
    ::chmod(inst.File("backup").c_str(), 0555);
    const std::string store = inst.Read("registry.reg");
    const bool root = ::geteuid() == 0;
    const std::string asOther = root ? "setpriv --reuid=65534 --regid=65534 --clear-groups env " : "";
    const std::string program = root ? inst.File("tunewright-cli") : std::string(TW_CLI_BINARY);
    if (root) {
        fs::copy_file(TW_CLI_BINARY, program);
        ::chmod(fs::path(inst.File("registry.reg")).parent_path().c_str(), 0777);
        ::chmod(inst.File("registry.reg").c_str(), 0666);
    }
    const Outcome run = inst.RunCli(kNow + " set " + Quote("Menu delay") + " 2000", asOther, program);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("backup - 20240305 - 09.05 - Menu delay.reg\": cannot create the file"),
              std::string::npos)
        << run.errors;
    EXPECT_EQ(inst.Read("registry.reg"), store);
    EXPECT_TRUE(Backups(inst).empty());
    ::chmod(inst.File("backup").c_str(), 0755);
}
#endif

TEST(CommandLineE2E, AnExportGivesAnotherInstallationTheSameValues)
{
    Installation from;
    const Outcome exported = from.RunCli("export --all");
    ASSERT_EQ(exported.status, 0) << exported.errors;
    Installation to;
    to.Write("registry.reg", "REGEDIT4\r\n");
    to.Write("office.reg", exported.output);
    const std::string profile = Quote(to.File("office.reg"));
    EXPECT_EQ(to.RunCli("apply --check " + profile).status, 3);
    EXPECT_EQ(to.Read("registry.reg"), "REGEDIT4\r\n");
    const Outcome applied = to.RunCli("--json apply " + profile);
    ASSERT_EQ(applied.status, 0) << applied.errors;
    EXPECT_GT(nlohmann::json::parse(applied.output)["changed"].get<int>(), 40);
    EXPECT_EQ(to.RunCli("list").lines, from.RunCli("list").lines);
    const Outcome again = to.RunCli("apply --check " + profile);
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.lines, std::vector<std::string>{"Nothing to change."});
}

TEST(CommandLineE2E, TextAndJsonAreUtf8)
{
    Prepared inst;
    const Outcome text = inst.RunCli("get 10090");
    EXPECT_EQ(text.status, 0) << text.errors;
    // Text that is not shown in a console is UTF-8 on Windows too, whatever
    // the console's code page (OEM 437 or 850, where é is 0x82).
    EXPECT_EQ(text.lines, std::vector<std::string>{"10090\tCaf\xC3\xA9\tcr\xC3\xA8me"});
    // The test's command line is in the system's characters: UTF-8 on Linux,
    // the code page on Windows (which hands the program the wide text).
#ifdef _WIN32
    const std::string name = "caf\xE9";
#else
    const std::string name = "caf\xC3\xA9";
#endif
    const Outcome json = inst.RunCli("--json get " + name);
    const auto parsed = nlohmann::json::parse(json.output);
    EXPECT_EQ(parsed["name"], "Caf\xC3\xA9");
    EXPECT_EQ(parsed["value"], "cr\xC3\xA8me");
    EXPECT_EQ(inst.RunCli("--help").status, 0);
    EXPECT_EQ(inst.RunCli("list --bogus").status, 2);
}

// What scripts read of the sample installation in English and in German:
// the same JSON apart from the translated name and shown value, the same
// history and the same profile.
TEST(CommandLineE2E, MachineOutputOfTheSampleIsTheSameInEnglishAndGerman)
{
    Installation inst;
    ASSERT_EQ(inst.RunCli(kNow + " set 10000 300").status, 0);
    const auto outputs = [&inst] {
        std::vector<std::string> runs;
        for (const char* args : {"--json list", "--json history", "history", "export --all"}) {
            const Outcome run = inst.RunCli(args);
            EXPECT_EQ(run.status, 0) << args << ": " << run.errors;
            runs.push_back(run.output);
        }
        return runs;
    };
    const auto withoutTranslations = [](const std::string& list) {
        auto items = nlohmann::json::parse(list);
        for (auto& item : items) {
            item.erase("name");
            item.erase("shown");
        }
        return items;
    };
    const std::vector<std::string> english = outputs();
    std::string config = inst.Read("config.ini");
    const auto at = config.find("[1033]");
    ASSERT_NE(at, std::string::npos) << config;
    inst.Write("config.ini", config.replace(at, 6, "[1031]"));
    const std::vector<std::string> german = outputs();
    EXPECT_NE(german[0], english[0]) << "the names are translated";
    EXPECT_EQ(withoutTranslations(german[0]), withoutTranslations(english[0]));
    for (std::size_t i = 1; i < english.size(); ++i)
        EXPECT_EQ(german[i], english[i]);
}
