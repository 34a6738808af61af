// Two users saving on one installation while a registry file is imported into
// the same store: nobody's change is lost, and every save keeps a complete
// backup of its own even when both save one function in the same minute.
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

using namespace e2e;

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 30;
const std::string kStamp = "backup - 20240305 - 09.05 - ";
const std::string kKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Test";
const std::string kSaved = "msgbox caption=\"T5\" text=\"T100\\n\\nT105\\n\\nT110\" buttons=ok icon=none -> ok";

std::string Dword(int value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

// `rounds` saves of list row `own` and of the shared row 2, with values
// counting up from `ownBase` and `sharedBase`.
std::string SaverScript(int own, int ownBase, int sharedBase)
{
    std::string script = "tick\n";
    for (int i = 1; i <= kRounds; ++i)
        for (const auto& [row, value] : {std::pair{own, ownBase + i}, std::pair{2, sharedBase + i}})
            script += "select " + std::to_string(row) + "\ntick\ntype 1005 " + std::to_string(value)
                      + "\nclick 1010\n";
    return script + "click 2\n";
}

// The value line of `name` in a store or backup, empty when there is none.
std::string ValueLine(const std::string& text, const std::string& name)
{
    const auto at = text.find("\"" + name + "\"=");
    return at == std::string::npos ? std::string() : text.substr(at, text.find('\r', at) - at);
}

} // namespace

TEST(ConcurrentSavingE2E, TwoSaversAndAnImportLoseNothingAndShareNoBackupName)
{
    Installation inst;
    WriteSmall(inst, {"Mine A", "Mine B", "Shared"},
               {"10000 0810", "10001 " + kKeyPath, "10002 A", "10010 0810", "10011 " + kKeyPath, "10012 B",
                "10020 0810", "10021 " + kKeyPath, "10022 S"},
               "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"A\"=dword:00000000\r\n\"B\"=dword:00000000\r\n"
               "\"S\"=dword:00000000\r\n");
    inst.Write("a.script", SaverScript(0, 100, 1000));
    inst.Write("b.script", SaverScript(1, 200, 2000));
    for (int k = 1; k <= kRounds; ++k)
        inst.Write("import" + std::to_string(k) + ".reg",
                   "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Imported]\r\n\"I\"=dword:" + Dword(k) + "\r\n");

    const std::string saver = "TUNEWRIGHT_REGISTRY= " + Quote(TW_SCRIPT_BINARY)
                              + " --app-folder . --now 2024-03-05T09:05";
    inst.Write("race.sh",
        "cd " + Quote(inst.Folder()) + " || exit 1\n{ " + saver + " <a.script >a.out 2>&1; echo $? >a.rc; } & "
        "{ " + saver + " <b.script >b.out 2>&1; echo $? >b.rc; } & "
        "{ for k in $(seq " + std::to_string(kRounds) + "); do TUNEWRIGHT_REGISTRY=registry.reg "
        + Quote(TW_IMPORT_BINARY) + " /s import$k.reg || break; done >i.out 2>&1; echo $? >i.rc; } & wait\n");
    ASSERT_EQ(std::system(("bash " + Quote(inst.File("race.sh"))).c_str()), 0);

    for (const std::string run : {"a", "b", "i"})
        EXPECT_EQ(inst.Read(run + ".rc"), "0\n") << run << ":\n" << inst.Read(run + ".out");
    for (const std::string run : {"a", "b"}) {
        const std::string out = inst.Read(run + ".out");
        std::size_t saved = 0;
        for (auto at = out.find(kSaved); at != std::string::npos; at = out.find(kSaved, at + 1))
            ++saved;
        EXPECT_EQ(saved, 2u * kRounds) << out;
    }

    // Each saver's own value, and the import, end as last written; the shared
    // value as one of the two savers last wrote it.
    const std::string store = inst.Read("registry.reg");
    EXPECT_EQ(ValueLine(store, "A"), "\"A\"=dword:" + Dword(100 + kRounds)) << store;
    EXPECT_EQ(ValueLine(store, "B"), "\"B\"=dword:" + Dword(200 + kRounds)) << store;
    EXPECT_EQ(ValueLine(store, "I"), "\"I\"=dword:" + Dword(kRounds)) << store;
    const std::string shared = ValueLine(store, "S");
    EXPECT_TRUE(shared == "\"S\"=dword:" + Dword(1000 + kRounds) || shared == "\"S\"=dword:" + Dword(2000 + kRounds))
        << store;

    // Every save has a complete backup under a name of its own. Each saver's
    // own backups hold exactly the values it wrote before, so no write of
    // another process undid one of its saves.
    std::map<std::string, std::multiset<std::string>> held;
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(inst.File("backup"))) {
        const std::string name = entry.path().filename().string();
        ASSERT_FALSE(name.starts_with(".")) << "left behind: " << name;
        if (entry.path().extension() != ".reg")
            continue;
        const std::string text = inst.Read("backup/" + name);
        ASSERT_TRUE(text.starts_with("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n")) << name << ":\n" << text;
        const std::string rest = name.substr(kStamp.size());
        const std::string function = rest.substr(0, std::min(rest.find(" ("), rest.find(".reg")));
        held[function].insert(text.substr(text.rfind('=') + 1));
        ++files;
    }
    EXPECT_EQ(files, 4u * kRounds);
    for (const auto& [function, base] : {std::pair{"Mine A", 100}, std::pair{"Mine B", 200}}) {
        std::multiset<std::string> expected = {"dword:" + Dword(0)};
        for (int i = 1; i < kRounds; ++i)
            expected.insert("dword:" + Dword(base + i));
        EXPECT_EQ(held[function], expected) << function;
    }
    EXPECT_EQ(held["Shared"].size(), 2u * kRounds);
}

// Four users saving one function at once, each other values: every backup
// holds the value that its own save replaced, so the backups chain from the
// first value to the one before the last, each value once. (Saving used to
// read the old value and write the new one under two locks of the store: two
// saves read the same old value, and one backup held a value its save did not
// replace.)
TEST(ConcurrentSavingE2E, FourSaversOfOneFunctionEachBackUpTheValueTheirSaveReplaced)
{
    constexpr int kSavers = 4;
    constexpr int kSaves = 50;
    Installation inst;
    WriteSmall(inst, {"Shared"}, {"10000 0810", "10001 " + kKeyPath, "10002 S"},
               "[HKEY_CURRENT_USER\\Software\\Test]\r\n\"S\"=dword:00000000\r\n");
    std::string race = "cd " + Quote(inst.Folder()) + " || exit 1\n";
    for (int saver = 1; saver <= kSavers; ++saver) {
        std::string script = "tick\nselect 0\ntick\n";
        for (int i = 1; i <= kSaves; ++i)
            script += "type 1005 " + std::to_string(saver * 1000 + i) + "\nclick 1010\n";
        const std::string name = "s" + std::to_string(saver);
        inst.Write(name + ".script", script + "click 2\n");
        race += "{ TUNEWRIGHT_REGISTRY= " + Quote(TW_SCRIPT_BINARY) + " --app-folder . --now 2024-03-05T09:05 <" + name
              + ".script >" + name + ".out 2>&1; echo $? >" + name + ".rc; } &\n";
    }
    inst.Write("race.sh", race + "wait\n");
    ASSERT_EQ(std::system(("bash " + Quote(inst.File("race.sh"))).c_str()), 0);
    for (int saver = 1; saver <= kSavers; ++saver) {
        const std::string name = "s" + std::to_string(saver);
        ASSERT_EQ(inst.Read(name + ".rc"), "0\n") << inst.Read(name + ".out");
    }

    std::multiset<std::string> held;
    for (const auto& entry : fs::directory_iterator(inst.File("backup")))
        if (entry.path().extension() == ".reg") {
            const std::string text = inst.Read("backup/" + entry.path().filename().string());
            held.insert(text.substr(text.rfind('=') + 1));
        }
    const std::string last = ValueLine(inst.Read("registry.reg"), "S");
    std::multiset<std::string> expected = {"dword:" + Dword(0)};
    for (int saver = 1; saver <= kSavers; ++saver)
        for (int i = 1; i <= kSaves; ++i)
            if ("\"S\"=dword:" + Dword(saver * 1000 + i) != last)
                expected.insert("dword:" + Dword(saver * 1000 + i));
    EXPECT_EQ(held, expected);
}
