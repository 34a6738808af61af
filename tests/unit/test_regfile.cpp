#include "unit/RegTreeOf.h"

#include "platform/Cp1252.h"
#include "platform/RegNames.h"
#include "regfile/RegFile.h"
#include "regfile/RegValueLine.h"
#include "regstore/RegImport.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>
#include <algorithm>

#include <string>
#include <utility>
#include <vector>

namespace {

using platform::RegRoot;
using platform::RegType;
using platform::RegValue;

RegValue Raw(RegType type, std::vector<std::uint8_t> data)
{
    return RegValue{type, std::move(data)};
}

std::vector<std::uint8_t> Bytes(const std::string& s)
{
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

std::string Join(const std::vector<std::string>& lines, const std::string& end, bool lastLineEnded)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() || lastLineEnded ? end : "");
    return text;
}

TEST(RegFile, LineEndsBlankLinesAndCommentsDoNotChangeTheResult)
{
    const std::vector<std::string> lines = {
        "REGEDIT4",
        "",
        "[HKEY_CURRENT_USER\\Control Panel\\Desktop]",
        "\"MenuShowDelay\"=\"400\"",
        "   ",
        "; a comment",
        "\"Blob\"=hex:01,02,\\",
        "  03,04",
        "[HKEY_LOCAL_MACHINE\\Software\\Vendor]",
        "@=dword:0000002a",
    };
    const std::string expected = regfile::SerialiseRegFile(TreeOf(Join(lines, "\r\n", true)));
    ASSERT_NE(expected.find("hex:01,02,03,04"), std::string::npos);

    const struct {
        const char* name;
        std::string end;
        bool lastLineEnded;
    } variants[] = {
        {"CR LF", "\r\n", true}, {"LF", "\n", true},
        {"no last line end", "\r\n", false}, {"blank lines", "\r\n\r\n", true},
    };
    for (const auto& variant : variants) {
        SCOPED_TRACE(variant.name);
        EXPECT_EQ(regfile::SerialiseRegFile(TreeOf(Join(lines, variant.end, variant.lastLineEnded))), expected);
    }
}

TEST(RegFile, ValueLinesReadAsTheirTypeAndBytes)
{
    const struct {
        const char* line;
        std::string name;
        RegValue value;
    } cases[] = {
        {R"("a"="text")", "a", RegValue::String("text")},
        {R"("a"="")", "a", RegValue::String("")},
        {R"("a"="C:\\Temp")", "a", RegValue::String("C:\\Temp")},
        {R"("a"="say \"hi\"")", "a", RegValue::String("say \"hi\"")},
        {R"("a"="lone \ kept")", "a", RegValue::String("lone \\ kept")},
        {"\"a\"=\"8-bit \xE4\xDF\"  \t", "a", RegValue::String("8-bit \xE4\xDF")},
        {R"(@="default")", "", RegValue::String("default")},
        {R"("quote\"in\\name"=dword:00000001)", "quote\"in\\name", RegValue::Dword(1)},
        {R"("a"=dword:0000FFFF)", "a", RegValue::Dword(0xffff)},
        {R"("a"=dword:ffffffff)", "a", RegValue::Dword(0xffffffff)},
        {R"("a"=DWORD:2a)", "a", RegValue::Dword(42)},
        {R"("a"=hex:01,AB,ff)", "a", Raw(RegType::Binary, {0x01, 0xab, 0xff})},
        {R"("a"=hex:)", "a", Raw(RegType::Binary, {})},
        {R"("a"=hex(2):25,00)", "a", Raw(RegType::ExpandSz, {0x25, 0x00})},
        {R"("a"=hex(7):61,00,00)", "a", Raw(RegType::MultiSz, {0x61, 0, 0})},
        {R"("a"=hex(b):01,00,00,00,00,00,00,00)", "a", Raw(RegType::Qword, {1, 0, 0, 0, 0, 0, 0, 0})},
        {R"("a"=hex(0):)", "a", Raw(RegType::None, {})},
        {R"("a"=hex(1):41,42)", "a", Raw(RegType::Sz, {'A', 'B'})},
        {R"("a"=hex(4):01,02,03)", "a", Raw(RegType::Dword, {1, 2, 3})},
        {R"("a"=hex(ffffffff):00)", "a", Raw(static_cast<RegType>(0xffffffff), {0})},
        {R"("a" = "spaced")", "a", RegValue::String("spaced")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const auto document = regfile::ParseRegFile(std::string("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n") + c.line, "t.reg");
        ASSERT_TRUE(document) << document.Error().Message();
        ASSERT_EQ(document.Value().sections.size(), 1u);
        const auto& values = document.Value().sections[0].values;
        ASSERT_EQ(values.size(), 1u);
        EXPECT_EQ(values[0].line, 3);
        EXPECT_EQ(values[0].name, c.name);
        ASSERT_TRUE(values[0].value);
        EXPECT_EQ(values[0].value->type, c.value.type);
        EXPECT_EQ(values[0].value->data, c.value.data);
    }
}

TEST(RegFile, ReadsBackupFilesAsSavingWritesThem)
{
    // Older saving wrote the name unescaped, doubled backslashes in the data
    // only and ended without a line end.
    const struct {
        const char* text;
        std::string name;
        std::optional<RegValue> value;
    } backups[] = {
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"400\"", "MenuShowDelay",
         RegValue::String("400")},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"Path\"=\"C:\\\\Temp\\\\\"", "Path", RegValue::String("C:\\Temp\\")},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"Registry key was not found :-( \"", "v",
         RegValue::String("Registry key was not found :-( ")},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"Odd \"Name\"\"=\"x\"", "Odd \"Name\"", RegValue::String("x")},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"trail\\\"=dword:000000ff", "trail\\", RegValue::Dword(255)},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=b\"=dword:00000001", "a\"=b", RegValue::Dword(1)},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Policies\\System]\r\n\"EnableLUA\"=dword:00000001", "EnableLUA",
         RegValue::Dword(1)},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=b\"=\"x\"", "a\"=b", RegValue::String("x")},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"Missing\"=-", "Missing", std::nullopt},
    };
    for (const auto& backup : backups) {
        SCOPED_TRACE(backup.text);
        const auto document = regfile::ParseRegFile(backup.text, "backup.reg");
        ASSERT_TRUE(document) << document.Error().Message();
        const auto& value = document.Value().sections.at(0).values.at(0);
        EXPECT_EQ(value.name, backup.name);
        ASSERT_EQ(value.value.has_value(), backup.value.has_value());
        if (backup.value) {
            EXPECT_EQ(value.value->type, backup.value->type);
            EXPECT_EQ(value.value->data, backup.value->data);
        }
    }

    // Importing the backup of a missing value removes the value again.
    regfile::RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "K", "Missing", RegValue::String("1")));
    ASSERT_TRUE(regfile::ApplyRegFile(regfile::ParseRegFile(std::end(backups)[-1].text, "backup.reg").Value(), tree,
                                 regfile::RegFileComments::Drop));
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "K", "Missing"), nullptr);
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "K"));
}

TEST(RegFile, LaterLinesWinAndSectionsRepeatOrRemoveKeys)
{
    const regfile::RegistryTree tree = TreeOf("REGEDIT4\n"
                                       "[HKEY_CURRENT_USER\\A]\n"
                                       "\"v\"=\"first\"\n"
                                       "\"V\"=\"second\"\n"
                                       "\"gone\"=dword:00000001\n"
                                       "[HKEY_CURRENT_USER\\B\\Sub]\n"
                                       "\"w\"=\"x\"\n"
                                       "[hkey_current_user\\a]\n"
                                       "\"gone\"=-\n"
                                       "\"never there\"=-\n"
                                       "[-HKEY_CURRENT_USER\\B]\n"
                                       "[-HKEY_CURRENT_USER\\NotThere]\n"
                                       "[HKEY_CURRENT_USER\\Empty\\\\Key]\n");
    ASSERT_NE(tree.FindValue(RegRoot::CurrentUser, "A", "v"), nullptr);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "A", "v")->data, RegValue::String("second").data);
    EXPECT_EQ(tree.FindValue(RegRoot::CurrentUser, "A", "gone"), nullptr);
    EXPECT_FALSE(tree.KeyExists(RegRoot::CurrentUser, "B"));
    EXPECT_TRUE(tree.KeyExists(RegRoot::CurrentUser, "Empty\\Key"));
    EXPECT_EQ(tree.ValueCount(), 1u);
}

// One value of a section is read as the whole section's parse reads it, and
// a fault only where the lines may name it.
TEST(RegFile, OneValueReadsAsTheWholeSectionParseAndOnlyItsLinesCanFail)
{
    const std::string key = "[HKEY_CURRENT_USER\\K]\r\n";
    const std::string section = key + "\"a\"=\"1\"\r\n"
                                      "\"x\"=hex:01,\\\r\n; between\r\n  02,\\\r\n\r\n  03\r\n"
                                      "\"B\"=\"2\"\r\n"
                                      "\"q\\\"r\"=dword:00000007\r\n"
                                      "\"\\\"lead\"=\"5\"\r\n"
                                      "\"old\"name\"=\"3\"\r\n"
                                      "@=\"default\"\r\n"
                                      "\"gone\"=\"4\"\r\n\"GONE\"=-\r\n"
                                      "\"h\"=hex(2):41,\\\r\n  42,00 ; comment\r\n"
                                      "\"b\"=\"last\" ; wins\r\n";
    const auto whole = regfile::ParseRegFileLines(section, 1, "f.reg");
    ASSERT_TRUE(whole) << whole.Error().Message();
    for (const std::string name : {"a", "b", "x", "q\"r", "\"lead", "old\"name", "", "gone", "H", "absent"}) {
        std::optional<regfile::RegFileValueLine> expected;
        for (const regfile::RegFileValueLine& line : whole.Value().sections.front().values)
            if (platform::NamesEqual(line.name, name))
                expected = line;
        const auto found = regfile::FindRegFileValue(section, 1, "f.reg", regfile::RegFileFormat::Store, name);
        ASSERT_TRUE(found) << name << ": " << found.Error().Message();
        ASSERT_EQ(found.Value().has_value(), expected.has_value()) << name;
        if (expected) {
            EXPECT_EQ(found.Value()->line, expected->line) << name;
            EXPECT_EQ(found.Value()->value, expected->value) << name;
        }
    }

    const std::string broken = key + "\"bad\"=dword:xyz\r\n\"a\"=\"1\"\r\n\"c\"=\"lone\rCR\"\r\nnot a value line\r\n";
    const struct {
        const char* name;
        int line; // 0: read
    } cases[] = {{"a", 0}, {"BAD", 2}, {"c", 4}, {"absent", 0}};
    for (const auto& c : cases) {
        const auto found = regfile::FindRegFileValue(broken, 1, "f.reg", regfile::RegFileFormat::Store, c.name);
        EXPECT_EQ(found ? 0 : found.Error().line, c.line) << c.name;
    }
}

TEST(RegFile, BadLinesAreReportedWithFileAndLine)
{
    const struct {
        const char* text;
        int line;
        const char* reason;
    } cases[] = {
        {"", 1, "REGEDIT4"},
        {"Windows Registry Editor Version 5.00\r\n", 1, "REGEDIT4"},
        {"REGEDIT4\n\"v\"=\"x\"", 2, "before the first [key]"},
        {"REGEDIT4\n[HKCU\\Software]", 2, "\"HKCU\""},
        {"REGEDIT4\n[HKEY_CURRENT_USERX\\Software]", 2, "\"HKEY_CURRENT_USERX\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\\\Software]", 2, "empty key name"},
        {"REGEDIT4\n[-HKEY_LOCAL_MACHINE\\\\]", 2, "empty key name"},
        {"REGEDIT4\n[-hkey_current_user]", 2, "HKEY_CURRENT_USER cannot be deleted"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K", 2, "]"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\n\"v\"=dword:123456789", 4, "dword"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=dword:xyz", 3, "dword"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"unclosed", 3, "closing double quote"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01,2g", 3, "\"2g\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01,,02", 3, "empty byte"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex(z):01", 3, "hex(N)"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01,\\\n  02,\\\n  0x3", 5, "\"0x3\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=text", 3, "unknown data"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"", 3, "\"name\"=data"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\nv=1", 3, "expected a [key] line"},
        {"REGEDIT4\n[-HKEY_CURRENT_USER\\K]\n\"v\"=\"x\"", 3, "removes its key"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"he said \"no\"\"", 3, "not escaped"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n@=\"a\"b\"", 3, "not escaped"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"a\"=\"b\"", 3, "not escaped"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"x\"=y\"=\"1\"=\"2\"", 3, "unknown data"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"x\" note", 3, "follows the closing double quote"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=dword:1 2", 3, "dword"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=- x", 3, "unknown data"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"lone \\ refused\"", 3, "escape \"\\ \""},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"\\0\"", 3, "escape \"\\0\""},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01,\\\n  \\\n  02", 4, "nothing but the backslash"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01\\\n  02", 3, "only after a comma"},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"v\"=hex:01,\\\n  02 \\\n  03", 4, "only after a comma"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=hex:01 02", 3, "\"01 02\""},
        {"REGEDIT4\r[HKEY_CURRENT_USER\\K]\r\n", 1, "carriage return"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"a\rb\"\r\n", 3, "carriage return"},
        {"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"v\"=hex:01,\\\r\n  02\r03\r\n", 4, "carriage return"},
        {"REGEDIT4\r\n; note\r\r\n", 2, "carriage return"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto document = regfile::ParseRegFile(c.text, "/x/backup.reg", regfile::RegFileFormat::Regedit4);
        if (document) {
            ADD_FAILURE() << "accepted";
            continue;
        }
        EXPECT_EQ(document.Error().line, c.line);
        EXPECT_NE(document.Error().reason.find(c.reason), std::string::npos) << document.Error().reason;
        EXPECT_EQ(document.Error().Message().rfind("\"/x/backup.reg\", line " + std::to_string(c.line) + ": ", 0), 0u);
    }
}

// What the Windows registry refuses is refused, naming file and line: a file
// of keys nested 20,000 deep once ran for half a minute and left a store no
// program could read. What it takes at its limits is read.
TEST(RegFile, KeysAndNamesBeyondTheRegistrysLimitsAreRefused)
{
    const auto nested = [](int levels) {
        std::string path = "HKEY_CURRENT_USER";
        for (int i = 0; i < levels; ++i)
            path += "\\k";
        return path;
    };
    const auto file = [](const std::string& key, const std::string& name) {
        return "REGEDIT4\r\n\r\n[" + key + "]\r\n\"" + name + "\"=\"v\"\r\n";
    };
    const struct {
        std::string text;
        int line;
        const char* reason;
    } refused[] = {
        {file(nested(513), "v"), 3, "513 levels"},
        {file(nested(20000), "v"), 3, "20000 levels"},
        {"REGEDIT4\r\n[-" + nested(600) + "]\r\n", 2, "600 levels"},
        {file("HKEY_CURRENT_USER\\A\\" + std::string(256, 'n') + "\\B", "v"), 3, "256 characters"},
        {file("HKEY_CURRENT_USER\\K", std::string(16384, 'v')), 4, "16384 characters"},
        {file("HKEY_CURRENT_USER\\K", "a\\\"" + std::string(16382, 'v')), 4, "16384 characters"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.reason);
        const auto document = regfile::ParseRegFile(c.text, "/x/deep.reg");
        ASSERT_FALSE(document);
        EXPECT_EQ(document.Error().Message().rfind("\"/x/deep.reg\", line " + std::to_string(c.line) + ": ", 0), 0u);
        EXPECT_NE(document.Error().reason.find(c.reason), std::string::npos) << document.Error().reason;
    }
    const std::string accepted[] = {
        file(nested(512), "v"),
        file("HKEY_CURRENT_USER\\A\\\\" + std::string(255, 'n') + "\\", std::string(16383, 'v')),
    };
    for (const std::string& text : accepted)
        EXPECT_TRUE(regfile::ParseRegFile(text, "/x/deep.reg"));
}

// A version 5 file as the registry editor writes it: UTF-16LE with a BOM.
std::string Utf16File(const std::string& cp1252)
{
    std::string bytes = "\xFF\xFE";
    for (char c : cp1252) {
        const char32_t ch = platform::DecodeCp1252(static_cast<unsigned char>(c));
        bytes += {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
    }
    return bytes;
}

TEST(RegFile, ImportRefusesOtherEncodingsAndWhatTheCodePageCannotHold)
{
    const std::string v5 = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\K]\r\n";
    const std::string chinese("\x2D\x4E", 2); // U+4E2D in UTF-16LE
    const struct {
        std::string bytes;
        int line;
        const char* reason;
    } cases[] = {
        {"\xEF\xBB\xBFREGEDIT4\r\n", 1, "UTF-8 with a byte-order mark"},
        {std::string("\xFE\xFF\0R", 4), 1, "big-endian"},
        {"\r\nREGEDIT4\r\n", 1, "\"REGEDIT4\""},
        {Utf16File("REGEDIT5\r\n"), 1, "\"Windows Registry Editor Version 5.00\""},
        {Utf16File("\n\rREGEDIT4\r\n"), 1, "\"Windows Registry Editor Version 5.00\""},
        {Utf16File(v5 + "\"v\"=\"x\"\r\n") + "\x0A", 4, "second byte"},
        {Utf16File(v5 + "\"v\"=\"") + chinese + Utf16File("\"").substr(2), 3, "U+4E2D"},
        {Utf16File(v5 + "\"v\"=hex(2):25,00,41\r\n"), 3, "hex(2) data"},
        {Utf16File(v5 + "\r\n\"v\"=hex(7):61,00,\\\r\n  2d,4e,00,00\r\n"), 4, "U+4E2D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        const auto document = regfile::ParseRegFileBytes(c.bytes, "/x/in.reg");
        if (document) {
            ADD_FAILURE() << "accepted";
            continue;
        }
        EXPECT_EQ(document.Error().Message().rfind("\"/x/in.reg\", line " + std::to_string(c.line) + ": ", 0), 0u);
        EXPECT_NE(document.Error().reason.find(c.reason), std::string::npos) << document.Error().reason;
    }
}

// A file without a byte-order mark read a piece at a time gives the text
// and the form that reading it whole gives, wherever a piece ends: in a CR
// LF, after a CR alone, in the first line.
TEST(RegFile, AFileReadInPiecesGivesTheTextOfTheWholeFile)
{
    const std::string v5 = "Windows Registry Editor Version 5.00";
    const std::string files[] = {
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"1\"\r\n",
        "REGEDIT4\r[HKEY_CURRENT_USER\\A]\r\r\n\"v\"=\"1\"\r",
        v5 + "\n\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"",
        "REGEDIT 4\r\n\r",
        "",
    };
    for (const std::string& bytes : files)
        for (const std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{100}}) {
            SCOPED_TRACE(bytes + " / " + std::to_string(size));
            const auto whole = regfile::RegFileTextOf(bytes, "f.reg");
            ASSERT_TRUE(whole);
            regfile::RegFileTextPieces pieces;
            std::string text;
            for (std::size_t at = 0; at < bytes.size(); at += size) {
                const std::size_t before = text.size();
                pieces.Add(std::string_view(bytes).substr(at, size), text);
                EXPECT_TRUE(text.size() == before || text.ends_with('\n')) << "whole lines only";
            }
            pieces.End(text);
            EXPECT_EQ(text, whole.Value().text);
            EXPECT_EQ(regfile::RegFileFormatOf(text), whole.Value().format);
        }
}

// What a file from outside holds as the registry editor imports it.
std::string ImportedTree(const std::string& bytes)
{
    const auto document = regfile::ParseRegFileBytes(bytes, "in.reg");
    if (!document)
        return document.Error().Message();
    regfile::RegistryTree tree;
    EXPECT_TRUE(regfile::ApplyRegFile(document.Value(), tree, regfile::RegFileComments::Drop));
    return regfile::SerialiseRegFile(tree);
}

// Files as people write them (Notepad, comments, stray line ends) and as the
// registry editor reads them all the same.
TEST(RegFile, FilesFromOutsideReadAsTheRegistryEditorReadsThem)
{
    const std::string expected = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n\"b\"=hex:01,02\r\n\"d\"=dword:0000002a\r\n"
                                 "\"e\"=hex(2):41,00\r\n\"m\"=hex(7):61,00,62,00\r\n\"s\"=\"x;y\"\r\n";
    const std::vector<std::string> lines = {
        "REGEDIT4", "", "[HKEY_CURRENT_USER\\T]", "\"s\"=\"x;y\"", "\"d\"=dword:0000002a",
        "\"e\"=hex(2):41,00", "\"m\"=hex(7):61,00,62,00", "\"gone\"=-", "\"b\"=hex:01,02",
    };
    const std::vector<std::string> v5 = {
        "Windows Registry Editor Version 5.00", "", "[HKEY_CURRENT_USER\\T]", "\"s\"=\"x;y\"",
        "\"d\"=dword:0000002a", "\"e\"=hex(2):41,00,00,00", "\"m\"=hex(7):61,00,00,00,62,00,00,00", "\"b\"=hex:01,02",
    };
    std::string mixed;
    for (std::size_t i = 0; i < lines.size(); ++i)
        mixed += lines[i] + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"CR LF", Join(lines, "\r\n", true)},
        {"lone CR", Join(lines, "\r", true)},
        {"mixed line ends", mixed},
        {"Notepad: version 5 in ANSI, no last line end", Join(v5, "\r\n", false)},
        {"version 5 in UTF-16LE", Utf16File(Join(v5, "\r\n", true))},
        {"REGEDIT4 in UTF-16LE, lone CR", Utf16File(Join(lines, "\r", true))},
        {"comments after the data, between hex lines, after =-",
         Join({"REGEDIT4", "[HKEY_CURRENT_USER\\T] ", "\"s\"=\"x;y\" ; a \"quoted\" note", "\"d\"=dword:\t 2a ;42",
               "\"e\"=hex(2):41,\\ ; goes on", "; between", "", "  00 ; ends", "\"m\"=hex(7):61,00,\\",
               "\t;", "62,00", "\"gone\"=- ; gone", "@=- ;", "\"b\"=hex:01,02;"},
              "\r\n", true)},
        {"a backslash that ends the file", Join({"REGEDIT4", "[HKEY_CURRENT_USER\\T]", "\"s\"=\"x;y\"",
                                                  "\"d\"=dword: 2a", "\"e\"=hex(2):41,00", "\"m\"=hex(7):61,00,62,00",
                                                  "\"b\"=hex:01,\\", "  02,\\", "; no more"},
                                                 "\n", false)},
        {"text data without their NUL", Join({"REGEDIT4", "[HKEY_CURRENT_USER\\T]", "\"s\"=\"x;y\"",
                                              "\"d\"=dword:2a", "\"e\"=hex(2):41", "\"m\"=hex(7):61,00,62", "\"b\"=hex:01,02"},
                                             "\r\n", true)},
        {"version 5 text data without their NUL",
         Utf16File(Join({v5[0], v5[2], v5[3], v5[4], "\"e\"=hex(2):41,00", "\"m\"=hex(7):61,00,00,00,62,00", v5[7]}, "\r\n", true))},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        EXPECT_EQ(ImportedTree(file.bytes), expected);
    }

    // The store's own file keeps text data without a NUL, and a backslash
    // before another character, as they are.
    const auto own =
        regfile::ParseRegFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n\"e\"=hex(2):41\r\n\"p\"=\"C:\\0\"\r\n", "registry.reg");
    ASSERT_TRUE(own) << own.Error().Message();
    EXPECT_EQ(own.Value().sections.at(0).values.at(0).value->data, std::vector<std::uint8_t>{0x41});
    EXPECT_EQ(own.Value().sections.at(0).values.at(1).value->data, Bytes(std::string("C:\\0", 5)));
}

TEST(RegFile, EveryStandardRootAndItsCommentsSurviveARewrite)
{
    // A comment line goes with the section or value after it, and away with it.
    const std::string text = "REGEDIT4\r\n"
                             "; the store of a test\r\n"
                             "[HKEY_CURRENT_CONFIG\\Software]\r\n"
                             "\"c\"=dword:00000001\r\n"
                             "[hkey_users\\.DEFAULT\\Control Panel]\r\n"
                             "  ; about u\r\n"
                             "\"u\"=\"1\"\r\n"
                             "; leaves with its value\r\n"
                             "\"gone\"=\"x\"\r\n"
                             "[HKEY_CLASSES_ROOT\\.txt]\r\n"
                             "@=\"txtfile\"\r\n"
                             "[HKEY_USERS\\.DEFAULT\\Control Panel]\r\n"
                             "\"gone\"=-\r\n"
                             "; the end";
    const regfile::RegistryTree tree = TreeOf(text);
    EXPECT_EQ(regfile::SerialiseRegFile(tree), "REGEDIT4\r\n"
                                          "\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"txtfile\"\r\n"
                                          "\r\n[HKEY_USERS\\.DEFAULT]\r\n"
                                          "\r\n[HKEY_USERS\\.DEFAULT\\Control Panel]\r\n; about u\r\n\"u\"=\"1\"\r\n"
                                          "\r\n; the store of a test\r\n[HKEY_CURRENT_CONFIG\\Software]\r\n"
                                          "\"c\"=dword:00000001\r\n"
                                          "\r\n; the end\r\n");
    EXPECT_EQ(regfile::SerialiseRegFile(TreeOf(regfile::SerialiseRegFile(tree))), regfile::SerialiseRegFile(tree));

    regfile::RegistryTree imported;
    ASSERT_TRUE(regfile::ApplyRegFile(regfile::ParseRegFile(text, "t.reg").Value(), imported, regfile::RegFileComments::Drop));
    EXPECT_EQ(regfile::SerialiseRegFile(imported).find(';'), std::string::npos);
    EXPECT_EQ(imported.ValueCount(), tree.ValueCount());
}

TEST(RegFile, SerialisesCanonically)
{
    regfile::RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(RegRoot::LocalMachine, "Software\\Vendor", "", RegValue::String("def")));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "b", "Zeta", RegValue::Dword(0xABCDEF)));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "b", "alpha", RegValue::String("C:\\Temp \"x\"")));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "b", "Mid", Raw(RegType::ExpandSz, {0x25, 0})));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "A", "bin", Raw(RegType::Binary, {0, 0xff})));
    ASSERT_TRUE(tree.CreateKey(RegRoot::CurrentUser, "A\\Empty"));
    EXPECT_EQ(regfile::SerialiseRegFile(tree), "REGEDIT4\r\n"
                                          "\r\n[HKEY_CURRENT_USER\\A]\r\n"
                                          "\"bin\"=hex:00,ff\r\n"
                                          "\r\n[HKEY_CURRENT_USER\\A\\Empty]\r\n"
                                          "\r\n[HKEY_CURRENT_USER\\b]\r\n"
                                          "\"alpha\"=\"C:\\\\Temp \\\"x\\\"\"\r\n"
                                          "\"Mid\"=hex(2):25,00\r\n"
                                          "\"Zeta\"=dword:00abcdef\r\n"
                                          "\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n"
                                          "\r\n[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n"
                                          "@=\"def\"\r\n");
}

TEST(RegFile, EveryValueSurvivesARoundTripExactly)
{
    std::vector<std::uint8_t> long_(1000);
    for (std::size_t i = 0; i < long_.size(); ++i)
        long_[i] = static_cast<std::uint8_t>(i);
    const std::pair<std::string, RegValue> values[] = {
        {"none", Raw(RegType::None, {})},
        {"sz", RegValue::String("plain")},
        {"sz empty", RegValue::String("")},
        {"sz no bytes", Raw(RegType::Sz, {})},
        {"sz unterminated", Raw(RegType::Sz, Bytes("abc"))},
        {"sz inner zero", Raw(RegType::Sz, Bytes(std::string("a\0b", 3) + '\0'))},
        {"sz line ends", RegValue::String("one\r\ntwo\rthree\n")},
        {"sz escapes", RegValue::String("\\\\server\\\"share\"\\")},
        {"sz 8-bit", RegValue::String("\x80\xE4\xFF;[]=@")},
        {"expand", Raw(RegType::ExpandSz, Bytes(std::string("%TEMP%", 7)))},
        {"binary", Raw(RegType::Binary, long_)},
        {"dword", RegValue::Dword(0x80000001)},
        {"dword short", Raw(RegType::Dword, {1, 2})},
        {"dword long", Raw(RegType::Dword, {1, 2, 3, 4, 5})},
        {"big endian", Raw(RegType::DwordBigEndian, {0, 0, 0, 1})},
        {"link", Raw(RegType::Link, {'x', 0})},
        {"multi", Raw(RegType::MultiSz, {'a', 0, 'b', 0, 0})},
        {"resources", Raw(RegType::ResourceList, {9})},
        {"qword", Raw(RegType::Qword, {1, 2, 3, 4, 5, 6, 7, 8})},
        {"odd type", Raw(static_cast<RegType>(0x12345678), {0xde, 0xad})},
        {"", RegValue::String("default")},
        {"@", RegValue::String("not the default")},
        {"quote\"=\"name\\", RegValue::Dword(5)},
        {" spaced ", RegValue::Dword(6)},
    };
    regfile::RegistryTree tree;
    const char* const keys[] = {"Plain", "With Space\\ and ]bracket]", "8-bit \xC4", "-dash"};
    for (const char* key : keys)
        for (const auto& [name, value] : values)
            ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, key, name, value));
    ASSERT_TRUE(tree.SetValue(RegRoot::CurrentUser, "", "at root", RegValue::Dword(1)));

    const std::string text = regfile::SerialiseRegFile(tree);
    const regfile::RegistryTree back = TreeOf(text);
    EXPECT_EQ(back.ValueCount(), tree.ValueCount());
    for (const char* key : keys) {
        for (const auto& [name, value] : values) {
            SCOPED_TRACE(std::string(key) + " / " + name);
            const RegValue* read = back.FindValue(RegRoot::CurrentUser, key, name);
            ASSERT_NE(read, nullptr);
            EXPECT_EQ(read->type, value.type);
            EXPECT_EQ(read->data, value.data);
        }
    }
    EXPECT_EQ(regfile::SerialiseRegFile(back), text);
}

} // namespace

// A text the history's line cannot show as it is keeps its data form, so
// that two values that differ never look the same.
TEST(RegFile, ShownTextFallsBackToTheDataWhereTheTextWouldHideSomething)
{
    const struct {
        platform::RegType type;
        std::string bytes;
        bool wide;
        std::u16string shown;
    } cases[] = {
        {platform::RegType::Sz, std::string("a", 1), false, u"hex(1):61"},
        {platform::RegType::Sz, std::string("a\nb", 4), false, u"hex(1):61,0a,62,00"},
        {platform::RegType::Sz, std::string("a\0b", 4), false, u"hex(1):61,00,62,00"},
        {platform::RegType::MultiSz, std::string("a\0\0b\0", 6), false, u"hex(7):61,00,00,62,00,00"},
        {platform::RegType::Sz, std::string("\xa9\x03\0\0", 4), true, u"\"\u03a9\""},
        {platform::RegType::Sz, std::string("\xa9\x03", 2), true, u"hex(1):a9,03"},
        {platform::RegType::Dword, std::string("\x01\0\0\0", 4), false, u"dword:00000001"},
    };
    for (const auto& c : cases) {
        const platform::ExactRegValue value{{c.type, {c.bytes.begin(), c.bytes.end()}}, c.wide};
        EXPECT_EQ(regfile::ShownText(value), c.shown) << regfile::ValueDataText(value);
    }
}

namespace {

// A document as a sink gathers it from the sections handed over.
struct Gathered final : regfile::RegSectionSink {
    regfile::RegFileDocument document;
    void Expect(std::size_t) override {}
    void Section(regfile::RegFileSection section) override { document.sections.push_back(std::move(section)); }
    void Closing(std::vector<std::string> comments) override { document.closingComments = std::move(comments); }
};

// A text given `size` bytes at a time.
struct Pieces final : regfile::RegTextSource {
    Pieces(std::string_view text, std::size_t size) : text(text), size(size) {}
    bool More(std::string& out) override
    {
        if (text.empty())
            return false;
        out += text.substr(0, size);
        text.remove_prefix(std::min(size, text.size()));
        return true;
    }
    std::string_view text;
    std::size_t size;
};

std::string Described(const regfile::RegFileDocument& document)
{
    std::string text;
    for (const regfile::RegFileSection& s : document.sections) {
        text += std::to_string(s.line) + (s.deleteKey ? " -" : " ") + s.subKey + ";" + Join(s.comments, "|", false) + "\n";
        for (const regfile::RegFileValueLine& v : s.values)
            text += " " + std::to_string(v.line) + " " + v.name + "=" +
                    (v.value ? regfile::ValueDataText(platform::ExactRegValue{*v.value, v.utf16}) : "-") + ";" +
                    Join(v.comments, "|", false) + "\n";
    }
    return text + ";" + Join(document.closingComments, "|", false);
}

} // namespace

// Sections handed over one at a time add up to the whole document, and a bad
// line anywhere fails the parse at the same line; also where the parse lists
// a long file's lines in batches and a section, its comments, hex data or a
// bad line meet a batch's end.
TEST(RegFile, SectionsHandedOverAsTheyAreReadMakeTheWholeDocument)
{
    std::string many = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Many]\r\n";
    for (int i = 0; i < 5000; ++i)
        many += "\"v" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\r\n";
    const std::string next = "[HKEY_CURRENT_USER\\Next]\r\n\"n\"=\"1\"\r\n";
    const std::string texts[] = {
        many + "\r\n; before next\r\n\r\n; and\r\n" + next + "; closing\r\n",
        many + "\"h\"=hex:01,\\\r\n; in\r\n" + next,
        many + next + "\"n\"=dword:xyz\r\n",
        many + next,
        "REGEDIT4\r\n",
        "REGEDIT4\r\n; top\r\n[HKEY_CURRENT_USER\\A]\r\n; a\r\n\"x\"=\"1\"\r\n\"b\"=hex:01,\\\r\n\r\n; in\r\n  02\r\n"
        "[-HKEY_CURRENT_USER\\B]\r\n[HKEY_LOCAL_MACHINE\\C]\r\n@=dword:00000002\r\n\"x\"=-\r\n; end\r\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n[HKEY_CURRENT_USER\\B]\n\"v\"=dword:xyz\n",
        "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"1\"\n[-HKEY_CURRENT_USER\\B]\n\"v\"=\"2\"\n",
        "REGEDIT 4\n[HKEY_CURRENT_USER\\A]\n",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(text.size() > 200 ? text.size() - 200 : 0));
        const auto whole = regfile::ParseRegFile(text, "f.reg", regfile::RegFileFormat::Regedit4);
        Gathered gathered;
        const auto handed = regfile::ParseRegFileSections(text, "f.reg", regfile::RegFileFormat::Regedit4,
                                                     regfile::RegWideText::Refuse, gathered);
        ASSERT_EQ(bool(handed), bool(whole));
        if (whole) {
            // Shown from where they differ: the long texts' lists run to thousands of lines.
            const std::string got = Described(gathered.document), wanted = Described(whole.Value());
            const std::size_t at = static_cast<std::size_t>(
                std::mismatch(got.begin(), got.end(), wanted.begin(), wanted.end()).first - got.begin());
            EXPECT_EQ(got.substr(at, 200), wanted.substr(at, 200)) << "at " << at;
        }
        else
            EXPECT_EQ(handed.Error().Message(), whole.Error().Message());
        // The same text from a source, in pieces that end anywhere in a line.
        for (const std::size_t size : {std::size_t{1}, std::size_t{5}, std::size_t{4099}}) {
            SCOPED_TRACE(size);
            Pieces pieces(text, size);
            Gathered fromPieces;
            const auto read = regfile::ParseRegFileSections(pieces, 0, "f.reg", regfile::RegFileFormat::Regedit4,
                                                            regfile::RegWideText::Refuse, fromPieces);
            ASSERT_EQ(bool(read), bool(whole));
            if (whole)
                EXPECT_EQ(Described(fromPieces.document), Described(whole.Value()));
            else
                EXPECT_EQ(read.Error().Message(), whole.Error().Message());
        }
    }
}

// A key in thousands of sections is merged a name at a time while it is read:
// the first spelling after a removal, the last data and every comment come
// out as rewriting the whole file through a tree gives them.
TEST(RegFile, AKeyInThousandsOfSectionsRewritesAsTheTreeWould)
{
    std::vector<std::string> sections;
    std::string file = "REGEDIT4\r\n";
    for (int i = 0; i < 6000; ++i) {
        std::string section = "[HKEY_CURRENT_USER\\K]\r\n";
        section += i % 7 == 0 && i < 1000 ? "; removed at " + std::to_string(i) + "\r\n\"Name" + std::to_string(i % 3) + "\"=-\r\n"
                              : "\"" + std::string(i < 1500 ? "name" : "NAME") + std::to_string(i % 3) + "\"=\""
                + std::to_string(i) + "\"\r\n";
        section += "\"v" + std::to_string(i % 50) + "\"=hex:0" + std::to_string(i % 10) + "\r\n";
        file += section;
        sections.push_back(std::move(section));
    }
    regfile::RegRewrittenValues values;
    for (const std::string& section : sections)
        ASSERT_TRUE(regfile::RewriteRegFileLines(section, 1, "many.reg", regfile::RegFileFormat::Store, true, values));
    std::string out;
    values.AppendTo(out);
    const std::string expected = regfile::SerialiseRegFile(TreeOf(file));
    EXPECT_EQ("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n" + out, expected);
}
