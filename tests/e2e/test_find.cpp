// Find through the driver: the box selects in the main window's list as the
// user types, Enter and F3 go on, and a text that nothing holds is said in
// the box.
#include "e2e/Screen.h"
#include "e2e/SmallInstallation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

using namespace e2e;

namespace {

constexpr int kFindCommand = 32780;
constexpr int kFindField = 1031;
constexpr int kFindStatus = 1032;

// The texts of one section of a translation file by key.
std::map<int, std::string> Section(const std::string& file, const std::string& code)
{
    std::map<int, std::string> texts;
    std::istringstream in(file);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            inside = line == code;
            continue;
        }
        if (inside && line.size() > 6 && std::all_of(line.begin(), line.begin() + 5, ::isdigit))
            texts.emplace(std::stoi(line.substr(0, 5)), line.substr(6));
    }
    return texts;
}

// Upper case in Windows-1252, as a user might type: the search must fold it.
std::string Upper(std::string text)
{
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7))
            c = static_cast<char>(b - 0x20);
    }
    return text;
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            c = static_cast<char>(b + 0x20);
    }
    return text;
}

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

struct Function {
    std::string name;
    std::string info;
};

std::vector<Function> Functions(const std::map<int, std::string>& texts)
{
    std::vector<Function> out;
    for (int key = 10000; texts.count(key) && texts.at(key) != "End of functions"; key += 10)
        out.push_back({texts.at(key), texts.count(key + 2) ? texts.at(key + 2) : ""});
    return out;
}

int HoldersOf(const std::vector<Function>& functions, const std::string& word)
{
    return static_cast<int>(std::count_if(functions.begin(), functions.end(), [&](const Function& f) {
        return Lower(f.name).find(Lower(word)) != std::string::npos ||
               Lower(f.info).find(Lower(word)) != std::string::npos;
    }));
}

std::string Run(const Installation& inst, const std::string& script)
{
    return Join(inst.Run(script));
}

} // namespace

// For every function of the sample, the word of its name that the fewest
// functions hold, typed in capitals: the box finds it at once or after as
// many F3 as other functions hold the word.
TEST(FindE2E, ReachesEveryFunctionOfTheSampleByAWordOfItsNameInEnglishAndGerman)
{
    for (const std::string code : {"[1033]", "[1031]"}) {
        SCOPED_TRACE(code);
        Installation inst;
        std::string config = inst.Read("config.ini");
        config.replace(config.find("Language\r\n[1033]"), 16, "Language\r\n" + code);
        inst.Write("config.ini", config);
        const std::vector<Function> functions = Functions(Section(inst.Read("0019trl.ini"), code));
        ASSERT_EQ(functions.size(), 253u);

        std::string script = "tick\n";
        std::vector<int> presses;
        for (const Function& f : functions) {
            std::string best;
            for (const std::string& w : Words(f.name))
                if (best.empty() || HoldersOf(functions, w) < HoldersOf(functions, best))
                    best = w;
            presses.push_back(HoldersOf(functions, best));
            script += "menu " + std::to_string(kFindCommand) + "\ntype " + std::to_string(kFindField) + " " +
                      Upper(best) + "\ntick\nclick 2\ntick\ndump\n";
            for (int k = 1; k < presses.back(); ++k)
                script += "key F3\ntick\ndump\n";
        }
        const std::vector<Screen> screens = Screens(inst.Run(script + "close\n"));

        std::size_t at = 0;
        for (std::size_t i = 0; i < functions.size(); ++i) {
            bool reached = false;
            for (int k = 0; k < presses[i] && at < screens.size(); ++k, ++at)
                reached = reached || (screens[at].Control(1011).text == functions[i].name &&
                                      screens[at].selectedItems == std::set<int>{static_cast<int>(i)});
            EXPECT_TRUE(reached) << functions[i].name;
        }
        EXPECT_EQ(at, screens.size());
    }
}

TEST(FindE2E, TypingSelectsTheFirstHolderAndEnterGoesOnRoundTheList)
{
    Installation inst;
    WriteSmall(inst, {"Alpha", "Beta", "gamma \xc4rger", "Delta"},
               {"10000 0810", "10001 x", "10002 y", "10010 0810", "10011 x", "10012 y", "10020 0810", "10021 x",
                "10022 y", "10030 0810", "10031 x", "10032 y"},
               "");
    std::string t = inst.Read("0019trl.ini");
    t.replace(t.find("10032 Info 3"), 12, "10032 Info \xe4rger 3");
    inst.Write("0019trl.ini", t);
    // "\xc4RGER" holds the capital of the info text's letter: the name of 2
    // and the info text of 3 both have it.
    const auto out = inst.Run("tick\nselect 1\ntick\nmenu 32780\ntype 1031 \xc4RGER\ntick 2\ndump\nclick 1\ntick\n"
                              "click 1\ntick\nclick 2\ntick\ndump\nkey F3\ntick\ndump\nclose\n");
    const std::vector<Screen> s = Screens(out);
    ASSERT_EQ(s.size(), 3u) << Join(out);
    // Inside the box the dump shows the box.
    EXPECT_EQ(s[0].Control(kFindField).text, "\xc4RGER");
    EXPECT_EQ(s[0].Control(kFindStatus).text, "");
    EXPECT_TRUE(s[0].items.empty()) << "the dump shows the box, not the window behind it";
    EXPECT_EQ(s[1].selectedItems, std::set<int>{2}) << "2 from the start, Enter to 3, Enter round to 2";
    EXPECT_EQ(s[1].Control(1011).text, "gamma \xc4rger");
    EXPECT_EQ(s[2].selectedItems, std::set<int>{3}) << "F3 in the main window goes on to 3";
    EXPECT_EQ(s[2].Control(1011).text, "Delta");
    EXPECT_TRUE(Contains(out, "dialog 150 caption=\"Find\" -> IDCANCEL")) << Join(out);
    EXPECT_TRUE(Grep(out, "msgbox").empty());
}

TEST(FindE2E, AMatchOutsideTheCategoryShowsAllFunctionsAndNoMatchIsSaidInTheBox)
{
    Installation inst;
    // Category 3 lists the targets to open (kind 04): Beta alone.
    WriteSmall(inst, {"Alpha", "Beta", "Gamma"},
               {"10000 0810", "10001 x", "10002 y", "10010 0410", "10011 x", "10020 0810", "10021 x", "10022 y"}, "");
    // Alpha has no info text: the "#10002" that stands in for it is no text
    // to find.
    std::string t = inst.Read("0019trl.ini");
    t.erase(t.find("10002 Info 0\r\n"), 14);
    inst.Write("0019trl.ini", t);
    const auto out = inst.Run("tick\ncategory 3\ntick 2\nmenu 32780\ntype 1031 gam\ntick 2\ntype 1031 nothing here\n"
                              "tick\ndump\nclick 1\ndump\nclick 2\ntick\ndump\nkey F3\ndump\nclick 2\n"
                              "menu 32780\ntype 1031 #10002\ntick\ndump\nclick 2\nclose\n");
    const std::vector<Screen> s = Screens(out);
    ASSERT_EQ(s.size(), 5u) << Join(out);
    EXPECT_EQ(s[0].Control(kFindStatus).text, "No match for \"nothing here\".");
    EXPECT_TRUE(Contains(out, "control 1032 shown \"No match for \\\"#10002\\\".\"")) << Join(out);
    EXPECT_EQ(s[1].Control(kFindStatus).text, "No match for \"nothing here\".") << "Enter finds nothing either";
    EXPECT_EQ(s[2].comboSel, 0) << "the filter is back at all functions";
    EXPECT_EQ(s[2].items, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(s[2].selectedItems, std::set<int>{2});
    EXPECT_EQ(s[2].Control(1011).text, "Gamma");
    // F3 with a text that nothing holds opens the box, which says so.
    EXPECT_EQ(s[3].Control(kFindField).text, "nothing here");
    EXPECT_EQ(s[3].Control(kFindStatus).text, "No match for \"nothing here\".");
    EXPECT_TRUE(Grep(out, "msgbox").empty()) << Join(out);
}

TEST(FindE2E, CtrlFOpensTheBoxAndItsTextsComeFromTheTranslation)
{
    Installation inst;
    std::string config = inst.Read("config.ini");
    config.replace(config.find("Language\r\n[1033]"), 16, "Language\r\n[1031]");
    inst.Write("config.ini", config);
    const auto out = inst.Run("tick\ndump\nkey Ctrl+F\ndump\ntype 1031 qqq\ntick\ndump\nclose\nclose\n");
    const std::vector<Screen> s = Screens(out);
    ASSERT_EQ(s.size(), 3u) << Join(out);
    EXPECT_EQ(s[0].menu.at("0.2"), "  Su&chen...");
    EXPECT_EQ(s[1].Control(1030).text, "Suchen &nach:");
    EXPECT_EQ(s[1].Control(1).text, "&Weitersuchen");
    EXPECT_EQ(s[1].Control(2).text, "Schlie\xdf" "en");
    EXPECT_EQ(s[2].Control(kFindStatus).text, "Kein Treffer f\xfcr \x84qqq\x93.");
    EXPECT_TRUE(Contains(out, "dialog 150 caption=\"Suchen\" -> IDCANCEL")) << Join(out);
}
