// tunewright-cli in this process, over a registry in memory: its command
// line, what list and get show, set, export then apply, restoring backups
// (the comment that names created keys, and the older [-KEY] form) and the
// history. Bad input and the program itself: tests/e2e/test_cli.cpp.
#include "unit/CliInstallation.h"
#include "unit/RegTreeOf.h"

#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

const std::string kKey = "HKEY_CURRENT_USER\\\\Software\\\\Test";

const std::vector<std::string> kNames = {"Delay", "Hidden", "Folder", "Editor", "Flag", "Count", "Limit", "Answer",
                                         "Note", "Odd"};
const std::vector<std::string> kCatalogue = {
    "10000 0210", "10001 " + kKey, "10002 Delay", "10003 100", "10004 900",
    "10010 0110", "10011 " + kKey, "10012 Hidden",
    "10020 0301", "10021 " + kKey + "\\\\Deep", "10022 Folder",
    "10030 0411", "10031 notepad.exe",
    "10040 0710", "10041 " + kKey, "10042 Flag",
    "10050 0810", "10051 " + kKey, "10052 Count",
    "10060 0910", "10061 " + kKey, "10062 Limit", "10063 5", "10064 500",
    "10070 1010", "10071 " + kKey, "10072 Answer",
    "10080 0610", "10081 HKEY_LOCAL_MACHINE\\\\Software\\\\Test", "10082 Note",
    "10090 1210", "10091 x", "10092 y",
};
const std::string kStore = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Delay\"=\"400\"\r\n\"Hidden\"=\"1\"\r\n"
                           "\"Flag\"=dword:00000002\r\n\"Count\"=dword:ffffffff\r\n\"Answer\"=\"Yes\"\r\n"
                           "\"Limit\"=hex(2):25,00\r\n";

struct Fixture {
    Fixture(const std::string& store = kStore) : registry(TreeOf(store)), install(registry, kNames, kCatalogue) {}
    std::string Store() const { return tk::SerialiseRegFile(registry); }
    std::vector<std::string> Backups() const { return install.Folder().Entries("backup"); }

    tk::RegistryTree registry;
    CliInstallation install;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    // Text output ends its lines with CR LF on Windows.
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

} // namespace

TEST(CommandLine, AWrongCommandLineExitsWithTwoNamingWhatIsWrong)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"frobnicate"}, "unknown command \"frobnicate\""},
        {{"list", "--bogus"}, "unknown option --bogus"},
        {{"get"}, "wrong number of arguments; the command is written: get FUNCTION"},
        {{"set", "Delay"}, "wrong number of arguments; the command is written: set FUNCTION VALUE"},
        {{"history", "extra"}, "wrong number of arguments; the command is written: history"},
        {{"list", "--check"}, "--check does not go with the command list"},
        {{"apply", "x.reg", "--since", "2024-01-01T00:00"}, "--since does not go with the command apply"},
        {{"undo"}, "undo needs --since YYYY-MM-DDTHH:MM"},
        {{"undo", "--since", "2024-13-01T00:00"}, "--since wants a minute written YYYY-MM-DDTHH:MM, not \"2024-13-01T00:00\""},
        {{"list", "--category", "6"}, "--category wants a number from 0 to 5, not \"6\""},
        {{"list", "--now"}, "--now needs a value"},
        {{"--json", "export"}, "export writes a registry file; --json does not go with it"},
        {{"reset"}, "wrong number of arguments; the command is written: reset FUNCTION... | reset --all [--check]"},
        {{"reset", "--all", "Delay"},
         "wrong number of arguments; the command is written: reset FUNCTION... | reset --all [--check]"},
        {{"list", "--all"}, "--all does not go with the command list"},
    };
    Fixture f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const CliRun run = f.install.Run(c.args);
        EXPECT_EQ(run.status, cli::kBadUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Lines(run.err), (std::vector<std::string>{std::string("tunewright-cli: ") + c.message,
                                                            "tunewright-cli: Run tunewright-cli --help for the commands."}));
    }
    // The installation's translation words it.
    f.install.Folder().Write("0019trl.ini", "[1033]\r\n01724 Unbekannter Befehl: %1\r\n10000 End of functions\r\n[EOL]\r\n");
    EXPECT_EQ(Lines(f.install.Run({"frobnicate"}).err).at(0), "tunewright-cli: Unbekannter Befehl: frobnicate");

    const CliRun help = f.install.Run({"list", "--help"});
    EXPECT_EQ(help.status, cli::kDone);
    EXPECT_NE(help.out.find("undo --since MINUTE"), std::string::npos) << help.out;
}

TEST(CommandLine, ListAndGetShowTheValuesAsThePanelShowsThem)
{
    Fixture f;
    const CliRun list = f.install.Run({"list"});
    EXPECT_EQ(list.status, cli::kDone) << list.err;
    EXPECT_EQ(Lines(list.out), (std::vector<std::string>{"10000\tDelay\t400", "10010\tHidden\tOn", "10020\tFolder\t",
                                                         "10030\tEditor\t", "10040\tFlag\tOn", "10050\tCount\t-1",
                                                         "10060\tLimit\t37", "10070\tAnswer\tOff", "10080\tNote\t",
                                                         "10090\tOdd\t"}));
    // The filter's entries: group "0" (1), folders (4).
    EXPECT_EQ(Lines(f.install.Run({"list", "--category", "1"}).out).size(), 1u);
    EXPECT_EQ(Lines(f.install.Run({"list", "--category", "4"}).out), std::vector<std::string>{"10020\tFolder\t"});

    const json all = json::parse(f.install.Run({"--json", "list"}).out);
    ASSERT_EQ(all.size(), kNames.size());
    EXPECT_EQ(all[0], json::parse(R"({"key": 10000, "name": "Delay", "kind": 2, "category": 2,
        "path": "HKEY_CURRENT_USER\\Software\\Test", "value_name": "Delay", "value": "400", "type": "REG_SZ",
        "default": null, "changed": null})"));
    EXPECT_EQ(all[2]["category"], 1);
    EXPECT_EQ(all[2]["value"], nullptr) << "a value that is not there";
    EXPECT_EQ(all[2]["type"], nullptr);
    EXPECT_EQ(all[3]["path"], "notepad.exe");
    EXPECT_EQ(all[3]["value_name"], nullptr);
    EXPECT_EQ(all[6]["type"], "REG_EXPAND_SZ");
    EXPECT_EQ(all[9]["kind"], 12);
    EXPECT_EQ(all[9]["value"], nullptr);

    const CliRun byName = f.install.Run({"--json", "get", "cOUNT"});
    EXPECT_EQ(json::parse(byName.out)["value"], "-1");
    EXPECT_EQ(Lines(f.install.Run({"get", "10040"}).out), std::vector<std::string>{"10040\tFlag\tOn"});
}

TEST(CommandLine, ListShowsWindowsDefaultsAndResetPutsThemBackBehindOneBackup)
{
    Fixture f;
    const std::string before = f.Store();
    // Delay and Folder as Windows has them (Folder: no value), Hidden and Flag not.
    f.install.Folder().Write("0019def.ini", "10000 \"400\"\r\n10010 \"0\"\r\n10020 -\r\n10040 dword:00000000\r\n");
    const CliRun list = f.install.Run({"list"});
    EXPECT_EQ(list.status, cli::kDone) << list.err;
    const std::vector<std::string> lines = Lines(list.out);
    ASSERT_EQ(lines.size(), kNames.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"10000\tDelay\t400\t\"400\"\tequal", "10010\tHidden\tOn\t\"0\"\tdiffers",
                                        "10020\tFolder\t\t-\tequal", "10030\tEditor\t\t\t",
                                        "10040\tFlag\tOn\tdword:00000000\tdiffers"}));
    const json all = json::parse(f.install.Run({"--json", "list"}).out);
    EXPECT_EQ(all[1]["default"], "\"0\"");
    EXPECT_EQ(all[1]["changed"], true);
    EXPECT_EQ(all[2]["changed"], false);
    EXPECT_EQ(all[5]["default"], nullptr);
    EXPECT_EQ(all[5]["changed"], nullptr);

    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;
    };
    const Case refused[] = {
        {{"reset", "Count"}, cli::kFailed, "the function \"Count\" has no known Windows default"},
        {{"reset", "Nobody"}, cli::kFailed, "there is no function \"Nobody\""},
        {{"reset", "--all", "--check"}, cli::kWouldChange, ""},
    };
    for (const Case& c : refused) {
        const CliRun run = f.install.Run(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back();
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    EXPECT_EQ(f.Store(), before);
    EXPECT_TRUE(f.Backups().empty());

    const CliRun reset = f.install.Run({"--now", "2024-03-05T09:05", "reset", "--all"});
    EXPECT_EQ(reset.status, cli::kDone) << reset.err;
    EXPECT_EQ(f.Backups(), std::vector<std::string>{"backup - 20240305 - 09.05 - reset to Windows defaults.reg"});
    EXPECT_NE(f.Store().find("\"Hidden\"=\"0\"\r\n"), std::string::npos) << f.Store();
    EXPECT_NE(f.Store().find("\"Flag\"=dword:00000000\r\n"), std::string::npos) << f.Store();
    for (const json& item : json::parse(f.install.Run({"--json", "list"}).out))
        EXPECT_NE(item["changed"], true) << item;
    EXPECT_EQ(Lines(f.install.Run({"reset", "Delay", "Hidden"}).out), std::vector<std::string>{"Nothing to change."});

    // A bad line fails list and reset, named with the file.
    f.install.Folder().Write("0019def.ini", "10000 \"400\"\r\n10010 on\r\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"list"}, {"reset", "--all"}}) {
        const CliRun run = f.install.Run(args);
        EXPECT_EQ(run.status, cli::kFailed);
        EXPECT_NE(run.err.find("0019def.ini\", line 2: the value cannot be read"), std::string::npos) << run.err;
    }
}

TEST(CommandLine, SetSavesAsTheWindowDoesAndPrintsTheBackup)
{
    Fixture f;
    const CliRun set = f.install.Run({"--now", "2024-03-05T09:05", "set", "Delay", "900"});
    EXPECT_EQ(set.status, cli::kDone) << set.err;
    EXPECT_EQ(Lines(set.out), std::vector<std::string>{"backup - 20240305 - 09.05 - Delay.reg"});
    EXPECT_EQ(f.install.Folder().Read("backup/backup - 20240305 - 09.05 - Delay.reg"),
              "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Delay\"=\"400\"");

    struct Case {
        const char* function;
        const char* value;
        const char* stored;
    };
    const Case cases[] = {
        {"Hidden", "OFF", "\"Hidden\"=\"0\""},    {"Flag", "0", "\"Flag\"=dword:00000000"},
        {"Answer", "on", "\"Answer\"=\"yes\""},   {"Count", "-2", "\"Count\"=dword:fffffffe"},
        {"Folder", "C:\\Temp", "\"Folder\"=\"C:\\\\Temp\""}, {"Note", "-", "\"Note\"=\"-\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        const CliRun run = f.install.Run({"--json", "set", c.function, c.value});
        EXPECT_EQ(run.status, cli::kDone) << run.err;
        EXPECT_EQ(json::parse(run.out)["name"], c.function);
        EXPECT_NE(f.Store().find(std::string(c.stored) + "\r\n"), std::string::npos) << f.Store();
    }
    EXPECT_EQ(f.Backups().size(), 7u);
}

TEST(CommandLine, AnExportAppliedToAFreshRegistryGivesTheSameValues)
{
    Fixture from(kStore + "[HKEY_CURRENT_USER\\Software\\Test\\Deep]\r\n\"Folder\"=hex:00,01\r\n"
                          "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n\"Note\"=\"\xE9t\xE9\"\r\n");
    const CliRun exported = from.install.Run({"export"});
    ASSERT_EQ(exported.status, cli::kDone) << exported.err;
    EXPECT_NE(exported.out.find("; 10000 Delay\r\n\"Delay\"=\"400\"\r\n"), std::string::npos) << exported.out;
    EXPECT_EQ(exported.out.find("Editor"), std::string::npos) << "a target to open has no value";

    Fixture to("REGEDIT4\r\n");
    const std::string profile = to.install.Folder().Path("office.reg");
    to.install.Folder().Write("office.reg", exported.out);
    EXPECT_EQ(to.install.Run({"apply", profile, "--check"}).status, cli::kWouldChange);
    EXPECT_TRUE(to.Backups().empty()) << "--check changes nothing";
    EXPECT_EQ(to.Store(), "REGEDIT4\r\n");

    const CliRun applied = to.install.Run({"--json", "--now", "2024-03-05T09:05", "apply", profile});
    ASSERT_EQ(applied.status, cli::kDone) << applied.err;
    const json result = json::parse(applied.out);
    EXPECT_EQ(result["changed"], 8);
    EXPECT_EQ(result["backup"], "backup - 20240305 - 09.05 - profile office.reg");
    EXPECT_EQ(to.install.Run({"list"}).out, from.install.Run({"list"}).out);

    const CliRun again = to.install.Run({"apply", "--check", profile});
    EXPECT_EQ(again.status, cli::kDone);
    EXPECT_EQ(Lines(again.out), std::vector<std::string>{"Nothing to change."});

    // Only what was asked for.
    const CliRun one = from.install.Run({"export", "delay", "10040"});
    EXPECT_EQ(Lines(one.out).size(), 7u) << one.out;
    EXPECT_EQ(from.install.Run({"export", "--category", "4"}).out.find("Delay"), std::string::npos);
}

TEST(CommandLine, RestoreRemovesOnlyEmptyKeysThatTheChangeCreated)
{
    const std::string kBefore = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Delay\"=\"400\"\r\n";
    struct Case {
        const char* what;
        const char* backup;
        const char* registry; // after kBefore: what the change left, and what came later
        const char* after;    // after kBefore
    };
    const Case cases[] = {
        {"the keys the change created go with their value",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test\\New\\Deeper]\r\n\"Text\"=-\r\n"
         "; created by this change: [HKEY_CURRENT_USER\\Software\\Test\\New]",
         "[HKEY_CURRENT_USER\\Software\\Test\\New\\Deeper]\r\n\"Text\"=\"hi\"\r\n", ""},
        {"a key that got content meanwhile stays",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test\\New\\Deeper]\r\n\"Text\"=-\r\n"
         "; created by this change: [HKEY_CURRENT_USER\\Software\\Test\\New]",
         "[HKEY_CURRENT_USER\\Software\\Test\\New\\Deeper]\r\n\"Text\"=\"hi\"\r\n[HKEY_CURRENT_USER\\Software\\Test\\New]\r\n"
         "\"Other\"=\"1\"\r\n",
         "[HKEY_CURRENT_USER\\Software\\Test\\New]\r\n\"Other\"=\"1\"\r\n"},
        {"values back as they were, a changed type too",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Delay\"=\"400\"\r\n\"Gone\"=hex(7):61,00,00,00",
         "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Delay\"=dword:00000001\r\n",
         "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Gone\"=hex(7):61,00,00,00\r\n"},
        {"an older backup's [-KEY] removes a key only when empty, never one with content",
         "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test\\New\\Deeper]\r\n\"Text\"=-\r\n"
         "[-HKEY_CURRENT_USER\\Software\\Test\\New]",
         "[HKEY_CURRENT_USER\\Software\\Test\\New]\r\n\"Other\"=\"1\"\r\n"
         "[HKEY_CURRENT_USER\\Software\\Test\\New\\Deeper]\r\n\"Text\"=\"hi\"\r\n",
         "[HKEY_CURRENT_USER\\Software\\Test\\New]\r\n\"Other\"=\"1\"\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f(kBefore + c.registry);
        const std::string changed = f.Store();
        f.install.Folder().Write("backup/old.reg", c.backup);
        const CliRun restored = f.install.Run({"--now", "2024-03-06T10:00", "restore", "old.reg"});
        ASSERT_EQ(restored.status, cli::kDone) << restored.err;
        EXPECT_EQ(f.Store(), tk::SerialiseRegFile(TreeOf(kBefore + c.after)));
        // The restore's own backup undoes it.
        const CliRun undone = f.install.Run({"restore", "backup - 20240306 - 10.00 - restore old.reg"});
        ASSERT_EQ(undone.status, cli::kDone) << undone.err;
        EXPECT_EQ(f.Store(), changed);
    }
}

TEST(CommandLine, HistoryShowsEachBackedUpValueBesideTheRegistrysAndGoesOnPastABrokenBackup)
{
    Fixture f;
    ASSERT_EQ(f.install.Run({"--now", "2024-03-05T09:05", "set", "Delay", "500"}).status, cli::kDone);
    ASSERT_EQ(f.install.Run({"--now", "2024-03-05T09:07", "set", "Flag", "1"}).status, cli::kDone);
    f.install.Folder().Write("backup/backup - 20240305 - 09.06 - Broken.reg", "REGEDIT4\r\nnonsense\r\n");
    const CliRun history = f.install.Run({"history"});
    EXPECT_EQ(history.status, cli::kFailed);
    EXPECT_EQ(Lines(history.out),
              (std::vector<std::string>{
                  "2024-03-05T09:07\tFlag\tHKEY_CURRENT_USER\\Software\\Test\tFlag\tdword:00000002\tdword:00000001\tdiffers",
                  "2024-03-05T09:05\tDelay\tHKEY_CURRENT_USER\\Software\\Test\tDelay\t\"400\"\t\"500\"\tdiffers"}));
    EXPECT_NE(history.err.find("backup - 20240305 - 09.06 - Broken.reg\", line 2"), std::string::npos) << history.err;

    std::filesystem::remove(f.install.Folder().Folder() / "backup" / "backup - 20240305 - 09.06 - Broken.reg");
    ASSERT_EQ(f.install.Run({"set", "Delay", "400"}).status, cli::kDone);
    const json rows = json::parse(f.install.Run({"--json", "history"}).out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], json::parse(R"({"time": "2024-03-05T09:05", "backup": "backup - 20240305 - 09.05 - Delay.reg",
        "function": "Delay", "path": "HKEY_CURRENT_USER\\Software\\Test", "value_name": "Delay", "value": "\"400\"",
        "now": "\"400\"", "equal": true})"));
}
