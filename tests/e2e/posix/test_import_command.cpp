// tunewright-import as a user runs it: the registry editor's own files, the
// question on the terminal, and what lands in the store.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct Ran {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the importer in the installation's folder with `input` on standard
// input and `store` as $TUNEWRIGHT_REGISTRY.
Ran Import(const e2e::Installation& inst, const std::string& args, const std::string& input = "",
           const std::string& store = "store.reg", const std::string& binary = TW_IMPORT_BINARY)
{
    inst.Write(".input", input);
    const std::string command = "cd '" + inst.Folder() + "' && TUNEWRIGHT_REGISTRY='" + store + "' '" + binary
                              + "' " + args + " < .input 2> .err";
    Ran ran;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buf{};
    for (std::size_t n; pipe && (n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0;)
        ran.out.append(buf.data(), n);
    const int status = pipe ? ::pclose(pipe) : -1;
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ran.err = inst.Read(".err");
    return ran;
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t p = text.find(from); p != std::string::npos; p = text.find(from, p + to.size()))
        text.replace(p, from.size(), to);
    return text;
}

// The sample's characters all lie below U+0100: their UTF-16LE code units are
// their Windows-1252 bytes and a zero.
std::string Utf16Le(const std::string& narrow)
{
    std::string wide = "\xFF\xFE";
    for (char c : narrow)
        wide += {c, '\0'};
    return wide;
}

// A version 5 export as Notepad saves it in "ANSI".
std::string Ansi(const std::string& utf16)
{
    std::string narrow;
    for (std::size_t i = 2; i + 1 < utf16.size(); i += 2)
        narrow += utf16[i];
    return narrow;
}

// What both samples leave in the store, in the store's own order.
const std::string kImported = "REGEDIT4\r\n"
                              "\r\n[HKEY_CURRENT_USER\\Software]\r\n"
                              "\r\n[HKEY_CURRENT_USER\\Software\\Sample]\r\n"
                              "\r\n[HKEY_CURRENT_USER\\Software\\Sample\\Tune]\r\n"
                              "@=\"default\"\r\n"
                              "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
                              "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f\r\n"
                              "\"Empty\"=\"\"\r\n"
                              "\"Expand\"=hex(2):25,54,45,4d,50,25,5c,78,00\r\n"
                              "\"Multi\"=hex(7):61,00,62,00,00\r\n"
                              "\"Neg\"=dword:ffffffff\r\n"
                              "\"Number\"=dword:000000ff\r\n"
                              "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                              "\"Text\"=\"C:\\\\Temp \\\"q\\\" caf\xE9\"\r\n"
                              "\r\n[HKEY_CURRENT_USER\\Software\\Sample\\Tune\\Sub Key]\r\n"
                              "\"Path\"=\"D:\\\\Down\"\r\n";

} // namespace

TEST(ImportCommandE2E, TheRegistryEditorsFilesImportSilentlyWithTheirValues)
{
    e2e::Installation inst;
    const fs::path samples = fs::path(TW_SOURCE_DIR) / "tests" / "data" / "reg-samples";
    fs::copy(samples, inst.Folder());
    const std::string r4 = inst.Read("regedit4-input.reg");
    const std::string v5 = inst.Read("regedit5-export.reg");
    const std::string wideCrLf("\r\0\n\0", 4);
    // The REGEDIT4 file also removes a value and a key with its sub-key; the
    // export of what it left has nothing to remove.
    const std::string removed = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Sample\\Old\\Sub]\r\n\"x\"=\"1\"\r\n"
                                "[HKEY_CURRENT_USER\\Software\\Sample\\Tune]\r\n\"Gone\"=\"here\"\r\n";
    const struct {
        const char* name;
        std::string file;
        std::string before;
    } cases[] = {
        {"REGEDIT4", r4, removed},
        {"REGEDIT4, LF", Replace(r4, "\r\n", "\n"), removed},
        {"REGEDIT4, no last line end", r4.substr(0, r4.size() - 2), removed},
        {"version 5", v5, ""},
        {"version 5, LF", Replace(v5, wideCrLf, std::string("\n\0", 2)), ""},
        {"version 5, no last line end", v5.substr(0, v5.size() - 2 * wideCrLf.size()), ""},
        {"REGEDIT4, lone CR", Replace(r4, "\r\n", "\r"), removed},
        {"REGEDIT4 in UTF-16LE", Utf16Le(r4), removed},
        {"version 5 in ANSI", Ansi(v5), ""},
    };
    const char* const silent[] = {"/s", "-s", "/S"};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        inst.Write("in.reg", cases[i].file);
        inst.Write("store.reg", cases[i].before);
        const Ran ran = Import(inst, std::string(silent[i % 3]) + " in.reg");
        EXPECT_EQ(ran.status, 0) << ran.err;
        EXPECT_EQ(ran.out + ran.err, "");
        EXPECT_EQ(inst.Read("store.reg"), kImported);
    }

    // The store's own file imported into an empty store gives the same tree;
    // without $TUNEWRIGHT_REGISTRY that store is registry.reg beside the program.
    fs::copy_file(TW_IMPORT_BINARY, inst.File("tunewright-import"));
    fs::remove(inst.Registry());
    EXPECT_EQ(Import(inst, "/s store.reg", "", "", inst.File("tunewright-import")).status, 0);
    EXPECT_EQ(inst.Read("registry.reg"), kImported);
}

TEST(ImportCommandE2E, OnlyAYesImportsAndABadFileOrStoreChangesNothing)
{
    e2e::Installation inst;
    const std::string before = "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"old\"\r\n";
    const std::string good = "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"new\"\r\n";
    inst.Write("store.reg", before);
    inst.Write("in.reg", good);
    const std::string question = "Import the keys and values in \"in.reg\" into the registry? [y/N] ";
    for (const char* answer : {"n\n", "\n", "", "yess\n"}) {
        SCOPED_TRACE(answer);
        const Ran ran = Import(inst, "in.reg", answer);
        EXPECT_EQ(ran.status, 1);
        EXPECT_EQ(ran.out.rfind(question, 0), 0u) << ran.out;
        EXPECT_EQ(inst.Read("store.reg"), before);
    }

    // Nothing is asked of a bad file, and nothing imported.
    const struct {
        std::string file;
        const char* where;
    } bad[] = {
        {good + "\"w\"=dword:123456789\r\n", "\"in.reg\", line 4: "},
        {good + "[HKEY_CURRENT_USER\\\\X]\r\n", "\"in.reg\", line 4: "},
        {"\xEF\xBB\xBF" + good, "\"in.reg\", line 1: "},
        // in the third section of a key
        {good + "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"1\"\r\n[HKEY_CURRENT_USER\\K]\r\n\r\n\"b\"=dword:zz\r\n",
         "\"in.reg\", line 8: "},
        // Keys nested deeper than the registry's 512 levels, which a rewrite
        // would make into a store no program can read.
        {good + "[HKEY_CURRENT_USER" + [] {
             std::string levels;
             for (int i = 0; i < 20000; ++i)
                 levels += "\\A";
             return levels;
         }() + "]\r\n",
         "\"in.reg\", line 4: "},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.where);
        inst.Write("in.reg", c.file);
        const Ran ran = Import(inst, "in.reg", "y\n");
        EXPECT_EQ(ran.status, 1);
        EXPECT_EQ(ran.out, "");
        EXPECT_NE(ran.err.find(c.where), std::string::npos) << ran.err;
        EXPECT_EQ(inst.Read("store.reg"), before);
    }
    EXPECT_NE(Import(inst, "/s missing.reg").err.find("\"missing.reg\": cannot open"), std::string::npos);

    inst.Write("in.reg", good);
    ::chmod(inst.File("store.reg").c_str(), 0444);
    const Ran refused = Import(inst, "/s in.reg");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("is read-only"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("\"in.reg\" was not imported"), std::string::npos) << refused.err;
    EXPECT_EQ(inst.Read("store.reg"), before);

    ::chmod(inst.File("store.reg").c_str(), 0644);
    const Ran ran = Import(inst, "in.reg", "YES\r\n");
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, question + "The keys and values in \"in.reg\" were imported into the registry.\n");
    // Only the changed key's section is written anew; the store's other bytes
    // stay as they were.
    EXPECT_EQ(inst.Read("store.reg"), "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"new\"\r\n");
}

TEST(ImportCommandE2E, TheStoreIsTheOneNamedAndTheImporterSpeaksItsInstallationsLanguage)
{
    e2e::Installation inst;
    const std::string good = "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"new\"\r\n";
    const std::string imported = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"new\"\r\n";
    inst.Write("in.reg", good);
    inst.Write("store.reg", "");
    // --registry wins over $TUNEWRIGHT_REGISTRY and the store beside the program.
    const Ran named = Import(inst, "--registry named.reg /s in.reg");
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(inst.Read("named.reg"), imported);
    EXPECT_EQ(inst.Read("store.reg"), "");

    const Ran help = Import(inst, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: tunewright-import [--registry STORE] [/s] FILE\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--registry STORE"), std::string::npos);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(Import(inst, "--registry").status, 2);

    // Beside the program of a German installation it asks and answers in German.
    fs::copy_file(TW_IMPORT_BINARY, inst.File("tunewright-import"));
    std::string config = inst.Read("config.ini");
    config.replace(config.find("Language\r\n[1033]"), 16, "Language\r\n[1031]");
    inst.Write("config.ini", config);
    const Ran german = Import(inst, "--registry german.reg in.reg", "ja\n", "", inst.File("tunewright-import"));
    EXPECT_EQ(german.status, 0) << german.err;
    EXPECT_NE(german.out.find("? [j/N] "), std::string::npos) << german.out;
    EXPECT_EQ(inst.Read("german.reg"), imported);
    const Ran wrong = Import(inst, "--bogus", "", "", inst.File("tunewright-import"));
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err, "tunewright-import: unbekannte Option --bogus\n"
                         "Aufruf: tunewright-import [--registry SPEICHER] [/s] DATEI\n");
    // In the terminal's encoding, UTF-8, as the command line speaks.
    const Ran germanHelp = Import(inst, "--help", "", "", inst.File("tunewright-import"));
    EXPECT_NE(germanHelp.out.find("R\xc3\xbc" "ckgabewert: 0 importiert"), std::string::npos) << germanHelp.out;
}
