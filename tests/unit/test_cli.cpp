// tunewright-cli in this process, over a registry in memory: its command
// line, what list and get show, set, export then apply, restoring backups
// (the comment that names created keys, and the older [-KEY] form) and the
// history. Bad input and the program itself: tests/e2e/test_cli.cpp.
#include "unit/CliInstallation.h"
#include "unit/RegTreeOf.h"
#include "unit/Utf16Bytes.h"

#include "backup/BackupBytes.h"
#include "cli/JsonFields.h"
#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"
#include "util/Path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

using namespace util;

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
    std::string Store() const { return regfile::SerialiseRegFile(registry); }
    std::vector<std::string> Backups() const { return install.Folder().Entries("backup"); }

    regfile::RegistryTree registry;
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
        {{"undo", "--since", "0000-01-01T00:00"}, "--since wants a minute written YYYY-MM-DDTHH:MM, not \"0000-01-01T00:00\""},
        {{"undo", "--since", "3-01-01T00:00"}, "--since wants a minute written YYYY-MM-DDTHH:MM, not \"3-01-01T00:00\""},
        {{"undo", "--since", "2023-02-29T00:00"}, "--since wants a minute written YYYY-MM-DDTHH:MM, not \"2023-02-29T00:00\""},
        {{"--now", "0999-12-31T23:59", "list"}, "--now wants a minute written YYYY-MM-DDTHH:MM, not \"0999-12-31T23:59\""},
        {{"--registry", "", "list"}, "--registry wants the name of a file, not an empty text"},
        {{"export", "--check"}, "--check does not go with the command export"},
        {{"--json", "export"}, "export writes a registry file; --json does not go with it"},
        {{"reset"}, "wrong number of arguments; the command is written: reset FUNCTION... | reset --all [--check]"},
        {{"reset", "--all", "Delay"},
         "wrong number of arguments; the command is written: reset FUNCTION... | reset --all [--check]"},
        {{"list", "--all"}, "--all does not go with the command list"},
        // Arguments are UTF-8: a character the code page lacks is named as the window names it.
        {{"set", "Note", "\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9mega"},
         "the text \"?\xC3\xB3" "d? ?mega\" holds characters that this program cannot keep (U+0141, U+017A, U+03A9); "
         "here they show as \"?\". Nothing was done: give it without them"},
        {{"get", "\xCE\xA9"},
         "the text \"?\" holds characters that this program cannot keep (U+03A9); here they show as \"?\". "
         "Nothing was done: give it without them"},
#ifdef _WIN32
        {{"--app-folder", "C:\\\xCE\xA9", "list"},
         "the text \"C:\\?\" holds characters that this program cannot keep (U+03A9); here they show as \"?\". "
         "Nothing was done: give it without them"},
#endif
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

    const CliRun version = f.install.Run({"--version"});
    EXPECT_EQ(version.status, cli::kDone);
    EXPECT_EQ(Lines(version.out), std::vector<std::string>{"tunewright-cli 3.00"});

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
        "path": "HKEY_CURRENT_USER\\Software\\Test", "value_name": "Delay", "value": 400, "data": "\"400\"",
        "shown": "400", "type": "REG_SZ", "default": null, "changed": null})"));
    EXPECT_EQ(all[2]["category"], 1);
    EXPECT_EQ(all[2]["value"], nullptr) << "a value that is not there";
    EXPECT_EQ(all[2]["type"], nullptr);
    EXPECT_EQ(all[3]["path"], "notepad.exe");
    EXPECT_EQ(all[3]["value_name"], nullptr);
    EXPECT_EQ(all[6]["type"], "REG_EXPAND_SZ");
    EXPECT_EQ(all[9]["kind"], 12);
    EXPECT_EQ(all[9]["value"], nullptr);

    const CliRun byName = f.install.Run({"--json", "get", "cOUNT"});
    EXPECT_EQ(json::parse(byName.out)["value"], -1);
    EXPECT_EQ(Lines(f.install.Run({"get", "10040"}).out), std::vector<std::string>{"10040\tFlag\tOn"});

    // A key path that names no key below its root shows the panel's fixed
    // text and number, though the root itself holds the value.
    regfile::RegistryTree root = TreeOf("REGEDIT4\r\n[HKEY_CURRENT_USER]\r\n\"t\"=\"x\"\r\n\"v\"=dword:00000000\r\n");
    const CliInstallation noKey(root, {"Text", "Switch"},
                                {"10000 0610", "10001 HKEY_CURRENT_USER", "10002 t", "10010 0710",
                                 "10011 HKEY_CURRENT_USER", "10012 v"});
    EXPECT_EQ(Lines(noKey.Run({"list"}).out),
              (std::vector<std::string>{"10000\tText\tRegistry key was not found :-( ", "10010\tSwitch\tOn"}));
}

TEST(CommandLine, ListAndGetWriteTheirJsonAsTheJsonLibraryLaysItOut)
{
    for (const std::string& text : std::vector<std::string>{"", "plain", "a\"b\\c/", "\b\f\n\r\t", std::string("\x01\x1f\x7f\0", 4),
                                                              "\xC3\xA4\xE2\x82\xAC",
                                                              "0123456789abcdef\xC3\xA4\x7f", "012\"4567", "0123456\\",
                                                              "abcdefgh\x1fijklmnopq\nrst"}) {
        std::string written;
        cli::AppendJsonString(written, text);
        EXPECT_EQ(written, json(text).dump()) << text;
    }
    Fixture f;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--json", "list"}, {"--json", "list", "--category", "4"}, {"--json", "list", "--category", "5"},
             {"--json", "get", "Limit"}}) {
        const std::string out = f.install.Run(args).out;
        EXPECT_EQ(out, nlohmann::ordered_json::parse(out).dump(2) + "\n") << args.back();
    }
    // A text beyond ASCII comes out in UTF-8.
    Fixture beyond(kStore + "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n\"Note\"=\"M\xFCll\"\r\n");
    const json note = json::parse(beyond.install.Run({"--json", "get", "Note"}).out);
    EXPECT_EQ(note["data"], "\"M\xC3\xBCll\"");
    EXPECT_EQ(note["shown"], "M\xC3\xBCll");
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
    // Exact types, where the function's kind can hold them.
    std::string store = kStore;
    store.replace(store.find("hex(2):25,00"), 12, "dword:00000025");
    Fixture from(store + "[HKEY_CURRENT_USER\\Software\\Test\\Deep]\r\n\"Folder\"=hex(2):43,00\r\n"
                         "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n\"Note\"=\"\xE9t\xE9\"\r\n");
    const CliRun exported = from.install.Run({"export", "--all"});
    ASSERT_EQ(exported.status, cli::kDone) << exported.err;
    EXPECT_NE(exported.out.find("; 10000 Delay\r\n\"Delay\"=\"400\"\r\n"), std::string::npos) << exported.out;
    EXPECT_EQ(exported.out.find("Left out"), std::string::npos);
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
        EXPECT_EQ(f.Store(), regfile::SerialiseRegFile(TreeOf(kBefore + c.after)));
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
                  "2024-03-05T09:07\tbackup - 20240305 - 09.07 - Flag.reg\tHKEY_CURRENT_USER\\Software\\Test\tFlag\t"
                  "dword:00000002\tdword:00000001\tdiffers",
                  "2024-03-05T09:05\tbackup - 20240305 - 09.05 - Delay.reg\tHKEY_CURRENT_USER\\Software\\Test\tDelay\t"
                  "\"400\"\t\"500\"\tdiffers"}));
    EXPECT_NE(history.err.find("backup - 20240305 - 09.06 - Broken.reg\", line 2"), std::string::npos) << history.err;

    std::filesystem::remove(f.install.Folder().Folder() / "backup" / "backup - 20240305 - 09.06 - Broken.reg");
    ASSERT_EQ(f.install.Run({"set", "Delay", "400"}).status, cli::kDone);
    const json rows = json::parse(f.install.Run({"--json", "history"}).out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], json::parse(R"({"time": "2024-03-05T09:05", "backup": "backup - 20240305 - 09.05 - Delay.reg",
        "function": "Delay", "path": "HKEY_CURRENT_USER\\Software\\Test", "value_name": "Delay", "value": "\"400\"",
        "now": "\"400\"", "value_shown": {"type": "REG_SZ", "text": "400"}, "now_shown": {"type": "REG_SZ", "text": "400"},
        "equal": true})"));
}

TEST(CommandLine, MachineOutputIsTheSameInEveryLanguageApartFromNamesAndShownValues)
{
    Fixture f;
    ASSERT_EQ(f.install.Run({"--now", "2024-03-05T09:05", "set", "Delay", "500"}).status, cli::kDone);
    const auto outputs = [&f] {
        std::vector<std::string> runs;
        for (const auto& args : std::vector<std::vector<std::string>>{{"--json", "list"}, {"--json", "history"},
                                                                       {"history"}, {"export", "--all"}})
            runs.push_back(f.install.Run(args).out);
        return runs;
    };
    const std::vector<std::string> english = outputs();
    const json list = json::parse(english[0]);
    EXPECT_EQ(list[0]["value"], 500);
    EXPECT_EQ(list[1]["value"], "on");
    EXPECT_EQ(list[1]["data"], "\"1\"");
    EXPECT_EQ(list[1]["shown"], "On");
    EXPECT_EQ(list[2]["value"], nullptr);
    EXPECT_EQ(list[6]["value"], 37) << "a number as the panel reads it";
    EXPECT_EQ(list[7]["value"], "off");
    EXPECT_EQ(list[8]["shown"], nullptr);

    // The same installation in German, its English section kept.
    std::string translation = f.install.Folder().Read("0019trl.ini");
    std::string german = "[1031]\r\n00060 Aus\r\n00065 &Ein\r\n";
    for (std::size_t i = 0; i < kNames.size(); ++i)
        german += std::to_string(10000 + 10 * i) + " Name " + std::to_string(i) + "\r\n";
    f.install.Folder().Write("0019trl.ini", translation + german + "10100 End of functions\r\n[EOL]\r\n");
    f.install.Folder().Write("config.ini", "Product ID\r\n0019\r\nLanguage\r\n[1031]\r\n");
    const std::vector<std::string> inGerman = outputs();
    json translated = json::parse(inGerman[0]);
    json untranslated = list;
    EXPECT_EQ(translated[1]["name"], "Name 1");
    EXPECT_EQ(translated[1]["shown"], "Ein");
    for (json* items : std::initializer_list<json*>{&untranslated, &translated})
        for (json& item : *items) {
            item.erase("name");
            item.erase("shown");
        }
    EXPECT_EQ(translated, untranslated);
    for (std::size_t i = 1; i < english.size(); ++i)
        EXPECT_EQ(inGerman[i], english[i]);
}

TEST(CommandLine, SetTakesWhatGetShowsAndChangesNothingForTheValueHeld)
{
    Fixture f;
    // Captions that are no other word set takes.
    std::string english = f.install.Folder().Read("0019trl.ini");
    english.replace(english.find("00060 Off"), 9, "00060 De-activated");
    english.replace(english.find("00065 On"), 8, "00065 &Activated");
    f.install.Folder().Write("0019trl.ini", english + "[1031]\r\n00060 Aus\r\n00065 &Ein\r\n10000 Delay\r\n"
                                                      "10010 Hidden\r\n10020 End of functions\r\n[EOL]\r\n");
    struct Case {
        const char* language;
        const char* value;
        const char* stored; // empty: nothing to change
    };
    const Case cases[] = {
        {"[1033]", "de-activated", "\"Hidden\"=\"0\""}, {"[1033]", "ON", "\"Hidden\"=\"1\""},
        {"[1031]", "aus", "\"Hidden\"=\"0\""},          {"[1031]", "Ein", "\"Hidden\"=\"1\""},
        {"[1031]", "De-activated", "\"Hidden\"=\"0\""}, {"[1031]", "0", "\"Hidden\"=\"0\""},
        {"[1031]", "Activated", "\"Hidden\"=\"1\""},    {"[1033]", "off", "\"Hidden\"=\"0\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.value);
        f.install.Folder().Write("config.ini", std::string("Product ID\r\n0019\r\nLanguage\r\n") + c.language + "\r\n");
        const std::size_t backups = f.Backups().size();
        const bool held = f.Store().find(c.stored) != std::string::npos;
        const CliRun set = f.install.Run({"set", "Hidden", c.value});
        EXPECT_EQ(set.status, cli::kDone) << set.err;
        EXPECT_NE(f.Store().find(c.stored), std::string::npos) << f.Store();
        EXPECT_EQ(f.Backups().size(), backups + (held ? 0 : 1));
        if (held)
            EXPECT_EQ(Lines(set.out), std::vector<std::string>{"Nothing to change."});
    }
    f.install.Folder().Write("config.ini", "Product ID\r\n0019\r\nLanguage\r\n[1033]\r\n");
    const CliRun same = f.install.Run({"--json", "set", "Delay", "400"});
    EXPECT_EQ(same.status, cli::kDone);
    EXPECT_EQ(json::parse(same.out)["backup"], nullptr);
}

TEST(CommandLine, ApplyAndRestoreRefuseAValueItsFunctionCannotHoldAndChangeNothing)
{
    const std::string kHead = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Other\"=\"x\"\r\n";
    struct Case {
        const char* line; // line 5 of the file
        const char* data;
        const char* function;
        const char* hint;
    };
    const Case cases[] = {
        {"\"Delay\"=\"901\"", "\"901\"", "Delay", "Hint 0"},
        {"\"delay\"=\"99\"", "\"99\"", "Delay", "Hint 0"},
        {"\"Delay\"=\"4oo\"", "\"4oo\"", "Delay", "Hint 0"},
        {"\"Delay\"=dword:00000190", "dword:00000190", "Delay", "Hint 0"},
        {"\"Flag\"=\"1\"", "\"1\"", "Flag", "Hint 4"},
        {"\"Limit\"=dword:00000004", "dword:00000004", "Limit", "Hint 6"},
        {"\"Limit\"=dword:ffffffff", "dword:ffffffff", "Limit", "Hint 6"},
        {"\"Hidden\"=hex:01", "hex:01", "Hidden", "Hint 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Fixture f;
        const std::string store = f.Store();
        const std::string file = kHead + c.line + "\r\n";
        f.install.Folder().Write("backup/old.reg", file);
        f.install.Folder().Write("profile.reg", file);
        const std::string profile = f.install.Folder().Path("profile.reg");
        for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
                 {{"apply", profile}, profile},
                 {{"apply", "-"}, "standard input"},
                 {{"restore", "old.reg"}, JoinPath(f.install.BackupFolder(), "old.reg")}}) {
            const CliRun run = f.install.Run(args, file);
            EXPECT_EQ(run.status, cli::kFailed);
            EXPECT_EQ(Lines(run.err), std::vector<std::string>{"tunewright-cli: \"" + named + "\", line 5: " + c.data +
                                                               " is no value for the function \"" + c.function +
                                                               "\" (" + c.hint + "); nothing was changed"})
                << run.err;
            EXPECT_EQ(f.Store(), store);
            EXPECT_EQ(f.Backups(), std::vector<std::string>{"old.reg"});
        }
    }
    // A value that no function names goes in as it is; one that fits, too.
    Fixture f;
    const CliRun applied = f.install.Run({"apply", "-"}, kHead + "\"Delay\"=\"900\"\r\n\"Count\"=dword:00000007\r\n");
    EXPECT_EQ(applied.status, cli::kDone) << applied.err;
    EXPECT_NE(f.Store().find("\"Other\"=\"x\""), std::string::npos);
    EXPECT_EQ(f.Backups().size(), 1u);
    EXPECT_NE(f.Backups()[0].find(" - profile stdin.reg"), std::string::npos) << f.Backups()[0];
}

// A profile is checked as a whole before anything changes, its faults told
// in one order wherever in the file they stand: a line that does not parse,
// then a value its function cannot hold (the first in the file, its key in
// any spelling), then a key the change may not touch.
TEST(CommandLine, ApplyTellsAProfilesFirstFaultWhereverItStands)
{
    const std::string kKey = "[HKEY_CURRENT_USER\\Software\\Test]\r\n";
    // A file read in pieces: the fault stands far beyond the first.
    std::string many = "[HKEY_CURRENT_USER\\Software\\Many]\r\n";
    for (int i = 0; i < 8000; ++i)
        many += "\"Value " + std::to_string(i) + "\"=\"" + std::string(20, 'x') + "\"\r\n";
    const struct {
        std::string body; // from line 3
        const char* told;
    } cases[] = {
        {many + kKey + "\"Other\"=dword:xyz\r\n", "\", line 8005: "},
        {many + "\r\r\"Other\"=\"1\"\r[-HKEY_CURRENT_USER\\Software\\Gone]\r\n", "\", line 8007: "},
        {kKey + "\"Delay\"=\"901\"\r\n" + kKey + "\"Other\"=dword:xyz\r\n", "\", line 6: "},
        {"[HKEY_CLASSES_ROOT\\.x]\r\n" + kKey + "\"Delay\"=\"1\"\r\n\"Delay\"=\"400\"\r\n" + kKey + "\"Delay\"=\"2\"\r\n",
         "\", line 5: \"1\" is no value"},
        {"[hkey_current_user\\SOFTWARE\\test]\r\n\"DELAY\"=\"9\"\r\n", "\", line 4: \"9\" is no value"},
        {kKey + "\"Delay\"=\"400\"\r\n[-HKEY_CURRENT_USER\\Software\\Test\\Sub]\r\n", "\", line 5: "},
    };
    for (const auto& c : cases)
        for (const bool piped : {true, false}) {
            SCOPED_TRACE(c.body.substr(c.body.size() > 200 ? c.body.size() - 200 : 0));
            Fixture f;
            const std::string store = f.Store();
            f.install.Folder().Write("profile.reg", "REGEDIT4\r\n\r\n" + c.body);
            const CliRun run = piped ? f.install.Run({"apply", "-"}, "REGEDIT4\r\n\r\n" + c.body)
                                     : f.install.Run({"apply", f.install.Folder().Path("profile.reg")});
            EXPECT_EQ(run.status, cli::kFailed);
            EXPECT_NE(run.err.find(c.told), std::string::npos) << run.err;
            EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
            EXPECT_EQ(f.Store(), store);
            EXPECT_TRUE(f.Backups().empty());
        }
}

TEST(CommandLine, RestoreAndUndoWithCheckTellWhatWouldChangeAndChangeNothing)
{
    Fixture f;
    ASSERT_EQ(f.install.Run({"--now", "2024-03-05T09:05", "set", "Delay", "500"}).status, cli::kDone);
    const std::string store = f.Store();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--json", "restore", "backup - 20240305 - 09.05 - Delay.reg", "--check"},
             {"--json", "undo", "--since", "2024-03-05T09:05", "--check"}}) {
        SCOPED_TRACE(args[1]);
        const CliRun run = f.install.Run(args);
        EXPECT_EQ(run.status, cli::kWouldChange) << run.err;
        const json result = json::parse(run.out);
        EXPECT_EQ(result["check"], true);
        EXPECT_EQ(result["changes"], json::parse(R"([{"path": "HKEY_CURRENT_USER\\Software\\Test",
            "value_name": "Delay", "before": "\"500\"", "after": "\"400\""}])"));
        EXPECT_EQ(f.Store(), store);
        EXPECT_EQ(f.Backups().size(), 1u);
    }
    EXPECT_EQ(f.install.Run({"undo", "--since", "2024-03-05T09:06", "--check"}).status, cli::kDone);
}

TEST(CommandLine, ExportLeavesOutTextsFoldersAndFilesUnlessAskedFor)
{
    Fixture f(kStore + "[HKEY_CURRENT_USER\\Software\\Test\\Deep]\r\n\"Folder\"=\"C:\\\\Users\\\\Sample\"\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n\"Note\"=\"Sample User\"\r\n");
    struct Case {
        std::vector<std::string> args;
        bool identity;
    };
    const Case cases[] = {
        {{"export"}, false}, {{"export", "--category", "4"}, false}, {{"export", "--all"}, true},
        {{"export", "Folder", "Note"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.size());
        const CliRun run = f.install.Run(c.args);
        EXPECT_EQ(run.status, cli::kDone) << run.err;
        EXPECT_EQ(run.out.find("Sample") != std::string::npos, c.identity) << run.out;
        EXPECT_EQ(run.out.find("; Left out") != std::string::npos, !c.identity) << run.out;
    }
    EXPECT_NE(f.install.Run({"export"}).out.find("(name them, or give --all): 10020, 10080\r\n"), std::string::npos);
}

TEST(CommandLine, AFolderWithTheProgramAndAProfileAloneTakesTheProfile)
{
    Fixture f;
    for (const char* file : {"config.ini", "0019trl.ini", "0019fct.ini"})
        std::filesystem::remove(f.install.Folder().Folder() / file);
    const CliRun applied = f.install.Run({"apply", "-"}, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n"
                                                         "\"Delay\"=\"99999\"\r\n");
    EXPECT_EQ(applied.status, cli::kDone) << applied.err;
    EXPECT_NE(f.Store().find("\"Delay\"=\"99999\""), std::string::npos);
}

namespace {

std::vector<std::uint8_t> Narrow(std::string_view text)
{
    return {text.begin(), text.end()};
}

} // namespace

// A backup as the program writes it (REGEDIT4, or version 5 where the text is
// in the wide form) is shown in the history as text and restored, undone or
// applied exactly; text beyond Windows-1252 is refused by name, changing
// nothing and writing no backup.
TEST(CommandLine, BackupsOfEveryFormShowTheirTextAndRestoreOrAreRefusedByName)
{
    using platform::RegType;
    struct Case {
        const char* what;
        RegType type;
        std::vector<std::uint8_t> data;
        bool wide;
        const char* shown; // UTF-8, as the history line shows it
        json shownJson;
        std::vector<std::uint8_t> stored; // empty: refused
    };
    const Case cases[] = {
        {"REGEDIT4 text", RegType::Sz, Narrow({"C:\\Temp", 8}), false, "\"C:\\Temp\"",
         {{"type", "REG_SZ"}, {"text", "C:\\Temp"}}, Narrow({"C:\\Temp", 8})},
        {"REGEDIT4 expandable", RegType::ExpandSz, Narrow({"%USERPROFILE%\\Documents", 24}), false,
         "\"%USERPROFILE%\\Documents\" (expandable)", {{"type", "REG_EXPAND_SZ"}, {"text", "%USERPROFILE%\\Documents"}},
         Narrow({"%USERPROFILE%\\Documents", 24})},
        {"REGEDIT4 strings", RegType::MultiSz, Narrow({"a\0b\0", 5}), false, "\"a\", \"b\"",
         {{"type", "REG_MULTI_SZ"}, {"text", {"a", "b"}}}, Narrow({"a\0b\0", 5})},
        {"REGEDIT4 binary", RegType::Binary, {1, 2}, false, "hex:01,02", {{"type", "REG_BINARY"}, {"text", "hex:01,02"}},
         {1, 2}},
        {"version 5 text within Windows-1252", RegType::Sz, Utf16Bytes(u"Grüße"), true, "\"Grüße\"",
         {{"type", "REG_SZ"}, {"text", "Grüße"}}, Narrow({"Gr\xfc\xdf" "e", 6})},
        {"version 5 expandable beyond it", RegType::ExpandSz, Utf16Bytes(u"%TEMP%\\Łódź"), true,
         "\"%TEMP%\\Łódź\" (expandable)", {{"type", "REG_EXPAND_SZ"}, {"text", "%TEMP%\\Łódź"}}, {}},
        {"version 5 strings beyond it", RegType::MultiSz, Utf16Bytes(std::u16string(u"Ω\0x\0", 4)), true, "\"Ω\", \"x\"",
         {{"type", "REG_MULTI_SZ"}, {"text", {"Ω", "x"}}}, {}},
    };
    const std::string name = "backup - 20240305 - 09.05 - V.reg";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string bytes = backup::FileBytes(
            {{platform::ShareKey({platform::RegRoot::CurrentUser, "Software\\Test"}), "V", platform::ExactRegValue{{c.type, c.data}, c.wide}, {}}}, {},
            backup::Layout::OneValue);
        ASSERT_EQ(bytes.starts_with("\xFF\xFE"), c.wide);
        for (const char* command : {"history", "restore", "undo", "apply"}) {
            SCOPED_TRACE(command);
            Fixture f;
            f.install.Folder().Write("backup/" + name, bytes);
            f.install.Folder().Write("profile.reg", bytes);
            const std::string before = f.Store();
            const std::string command_(command);
            if (command_ == "history") {
                const CliRun history = f.install.Run({"history"});
                ASSERT_EQ(history.status, cli::kDone) << history.err;
                ASSERT_EQ(Lines(history.out).size(), 1u);
                EXPECT_NE(Lines(history.out)[0].find("\tV\t" + std::string(c.shown) + "\t-\tdiffers"), std::string::npos)
                    << history.out;
                const json rows = json::parse(f.install.Run({"--json", "history"}).out);
                EXPECT_EQ(rows[0]["value_shown"], c.shownJson);
                EXPECT_EQ(rows[0]["now_shown"], nullptr);
                continue;
            }
            const std::string path = f.install.Folder().Path("profile.reg");
            const CliRun run = command_ == "restore" ? f.install.Run({"restore", name})
                               : command_ == "undo"  ? f.install.Run({"undo", "--since", "2024-03-05T09:05"})
                                                     : f.install.Run({"apply", path});
            if (c.stored.empty()) {
                EXPECT_EQ(run.status, cli::kFailed);
                // The program names a backup with the system's separators.
                const std::string file = command_ == "apply"
                                             ? path
                                             : std::filesystem::path(f.install.Folder().Path("backup/" + name))
                                                   .make_preferred()
                                                   .string();
                EXPECT_NE(run.err.find("\"" + file + "\", line 3: the text of \"V\""), std::string::npos) << run.err;
                EXPECT_NE(run.err.find(c.type == RegType::ExpandSz ? "(U+0141, U+017A)" : "(U+03A9)"), std::string::npos)
                    << run.err;
                EXPECT_EQ(f.Store(), before);
                EXPECT_EQ(f.Backups().size(), 1u);
                continue;
            }
            ASSERT_EQ(run.status, cli::kDone) << run.err;
            const auto held = f.registry.QueryValue(platform::RegRoot::CurrentUser, "Software\\Test", "V");
            ASSERT_TRUE(held);
            EXPECT_EQ(held.Value(), (platform::RegValue{c.type, c.stored}));
        }
    }
}

// Undoing since an older backup takes its value, so a newer one whose text
// the registry cannot hold no longer blocks it.
TEST(CommandLine, UndoSinceAnOlderBackupIsNotBlockedByANewerOneBeyondTheCodePage)
{
    Fixture f;
    const platform::SharedKeyPath key = platform::ShareKey({platform::RegRoot::CurrentUser, "Software\\Test"});
    f.install.Folder().Write("backup/backup - 20240305 - 09.00 - V.reg",
                             backup::FileBytes({{key, "V", platform::ExactRegValue{platform::RegValue::String("old"), false}, {}}},
                                               {}, backup::Layout::OneValue));
    f.install.Folder().Write("backup/backup - 20240305 - 09.05 - V.reg",
                             backup::FileBytes({{key, "V", platform::ExactRegValue{{platform::RegType::Sz, Utf16Bytes(u"Ω")}, true}, {}}},
                                               {}, backup::Layout::OneValue));
    const CliRun undone = f.install.Run({"undo", "--since", "2024-03-05T09:00"});
    ASSERT_EQ(undone.status, cli::kDone) << undone.err;
    EXPECT_EQ(f.registry.QueryValue(key->root, key->subKey, "V").Value(), platform::RegValue::String("old"));
}
