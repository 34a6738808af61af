// The file and folder pickers of the text front end on a throw-away folder:
// what they list, how the keys move through folders, and what they return.
#include "backends/terminal/PickerLayer.h"

#include "KeyBuilders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using backends::terminal::FolderEntry;
using backends::terminal::KeyCode;
using backends::terminal::PickerLayer;

// root/ Alpha/ (deep/, inner.reg)  beta/  .git/  and the files below.
class TerminalPicker : public ::testing::Test {
protected:
    TerminalPicker()
    {
        std::string pattern = (fs::temp_directory_path() / "picker-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        root = pattern;
        for (const char* d : {"Alpha", "Alpha/deep", "beta", ".git"})
            fs::create_directory(root + "/" + d);
        for (const char* f : {"b.reg", "A.REG", "c.txt", "x.Reg", ".hidden.reg", "noext", "\xE4.reg", "Alpha/inner.reg"})
            std::ofstream(root + "/" + f) << "REGEDIT4\n";
    }
    ~TerminalPicker() override { fs::remove_all(root); }

    static void Type(PickerLayer& picker, std::string_view text)
    {
        for (char c : text)
            picker.HandleKey(Ch(static_cast<unsigned char>(c)));
    }

    std::string root;
};

TEST(TerminalPickerPaths, MatchesFiltersAndResolvesPathsAsWindowsDoes)
{
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } matches[] = {
        {"PROG.EXE", "*.exe", true},     {"prog.exe.bak", "*.exe", false}, {"noext", "*.*", true},
        {"abc", "a?c", true},            {"ac", "a?c", false},             {"a.b.reg", "*.reg", true},
        {"\xE4.REG", "\xC4*.reg", true}, {"reg", "*.reg", false},          {"x", "*", true},
    };
    for (const auto& m : matches)
        EXPECT_EQ(backends::terminal::MatchesPattern(m.name, m.pattern), m.matches) << m.name << " " << m.pattern;

    const backends::terminal::FileFilter two = backends::terminal::ParseFilters("Text|*.txt;*.log|All|*.*").front();
    EXPECT_EQ(two.description, "Text");
    EXPECT_EQ(two.patterns, (std::vector<std::string>{"*.txt", "*.log"}));
    EXPECT_TRUE(backends::terminal::ParseFilters("").front().patterns.empty());

    const struct {
        const char* base;
        const char* typed;
        const char* path;
    } paths[] = {
        {"/a/b", "c", "/a/b/c"},      {"/a/b", "../c", "/a/c"},    {"/a/b", "/x//y/", "/x/y"},
        {"/a", "../../..", "/"},      {"/a/b", "./c/./d/..", "/a/b/c"}, {"/", "..", "/"},
    };
    for (const auto& p : paths)
        EXPECT_EQ(backends::terminal::ResolvePath(p.base, p.typed), p.path) << p.base << " + " << p.typed;
}

TEST_F(TerminalPicker, ListsFoldersFirstThenMatchingFilesEachByName)
{
    const auto names = [](const std::vector<FolderEntry>& entries) {
        std::vector<std::string> out;
        for (const auto& e : entries)
            out.push_back(e.folder ? e.name + "/" : e.name);
        return out;
    };
    EXPECT_EQ(names(backends::terminal::ListFolder(root, {"*.reg"}, false).entries),
              (std::vector<std::string>{"Alpha/", "beta/", "A.REG", "b.reg", "x.Reg", "\xE4.reg"}));
    EXPECT_EQ(backends::terminal::ListFolder(root, {}, false).entries.size(), 8u) << "no patterns: every file";
    EXPECT_NE(backends::terminal::ListFolder(root + "/gone", {}, false).error.find(root + "/gone"), std::string::npos);

    const std::string cwd = "/somewhere";
    EXPECT_EQ(backends::terminal::StartFolder(root + "/Alpha", cwd), root + "/Alpha");
    EXPECT_EQ(backends::terminal::StartFolder(root + "/Alpha/inner.reg", cwd), root + "/Alpha") << "a file: its folder";
    EXPECT_EQ(backends::terminal::StartFolder(root + "/gone", cwd), cwd);
    EXPECT_EQ(backends::terminal::StartFolder("", cwd), cwd);
    EXPECT_EQ(backends::terminal::StartFolder("beta", root), root + "/beta") << "relative to the current folder";
}

TEST_F(TerminalPicker, FilePickerMovesThroughFoldersAndChoosesAFile)
{
    PickerLayer picker(PickerLayer::Mode::File, "Open", "", "Registry files (*.reg)|*.reg", root);
    picker.HandleKey(K(KeyCode::Down));
    picker.HandleKey(K(KeyCode::Down));
    EXPECT_EQ(picker.NameText(), "A.REG") << "a selected file's name goes into the name field";
    picker.HandleKey(K(KeyCode::End));
    EXPECT_EQ(picker.Selected(), 5);
    picker.HandleKey(K(KeyCode::Home));
    picker.HandleKey(K(KeyCode::Down));
    picker.HandleKey(K(KeyCode::Enter));
    EXPECT_EQ(picker.Folder(), root + "/beta");
    picker.HandleKey(K(KeyCode::Backspace));
    EXPECT_EQ(picker.Folder(), root);
    EXPECT_EQ(picker.Selected(), 1) << "back up, the folder we came from is selected";
    EXPECT_FALSE(picker.Done());

    picker.HandleKey(K(KeyCode::PageDown));
    picker.HandleKey(K(KeyCode::Enter));
    ASSERT_TRUE(picker.Done());
    EXPECT_EQ(picker.Result(), root + "/\xE4.reg");
}

TEST_F(TerminalPicker, FilePickerTakesATypedPathThatNeedNotExist)
{
    PickerLayer picker(PickerLayer::Mode::File, "Open", "", "Registry files (*.reg)|*.reg", root);
    picker.HandleKey(K(KeyCode::Tab));
    Type(picker, "Alpha/deep");
    picker.HandleKey(K(KeyCode::Enter));
    EXPECT_EQ(picker.Folder(), root + "/Alpha/deep") << "a typed folder is opened";
    EXPECT_EQ(picker.NameText(), "");
    Type(picker, "../../new.reg");
    picker.HandleKey(K(KeyCode::Enter));
    ASSERT_TRUE(picker.Done());
    EXPECT_EQ(picker.Result(), root + "/new.reg");
}

// Tab goes on from the name field to the file type when the filter offers
// more than one; the arrows change it and the list follows.
TEST_F(TerminalPicker, FilePickerOffersEachTypeOfItsFilter)
{
    PickerLayer picker(PickerLayer::Mode::File, "Open", "", "Registry files (*.reg)|*.reg|All files (*.*)|*.*", root);
    EXPECT_EQ(picker.Entries().size(), 6u) << "Alpha/, beta/ and four .reg files";
    picker.HandleKey(K(KeyCode::Tab));
    picker.HandleKey(K(KeyCode::Tab));
    EXPECT_FALSE(picker.ListFocused());
    picker.HandleKey(K(KeyCode::Down));
    EXPECT_EQ(picker.Filter().description, "All files (*.*)");
    EXPECT_EQ(picker.Entries().size(), 8u) << "c.txt and noext too";
    picker.HandleKey(K(KeyCode::Down));
    EXPECT_EQ(picker.Filter().description, "Registry files (*.reg)") << "round again";
    picker.HandleKey(K(KeyCode::Up));
    EXPECT_EQ(picker.Filter().description, "All files (*.*)");
    picker.HandleKey(K(KeyCode::Tab));
    EXPECT_TRUE(picker.ListFocused());

    PickerLayer one(PickerLayer::Mode::File, "Open", "", "Registry files (*.reg)|*.reg", root);
    one.HandleKey(K(KeyCode::Tab));
    one.HandleKey(K(KeyCode::Tab));
    EXPECT_TRUE(one.ListFocused()) << "one type: nothing to choose";
}

TEST_F(TerminalPicker, FolderPickerChoosesTheFolderItShows)
{
    PickerLayer picker(PickerLayer::Mode::Folder, "Browse for Folder", "Pick one", "", root);
    EXPECT_EQ(picker.Entries(), (std::vector<FolderEntry>{{"Alpha", true}, {"beta", true}}));
    picker.HandleKey(K(KeyCode::Enter));
    EXPECT_FALSE(picker.Done());
    picker.HandleKey(Ch(U' '));
    ASSERT_TRUE(picker.Done());
    EXPECT_EQ(picker.Result(), root + "/Alpha");

    PickerLayer button(PickerLayer::Mode::Folder, "Browse for Folder", "", "", root + "/Alpha/deep");
    button.HandleKey(K(KeyCode::Enter)); // no sub-folders: nothing to open
    button.HandleKey(K(KeyCode::Tab));
    button.HandleKey(K(KeyCode::Enter));
    EXPECT_EQ(button.Result(), root + "/Alpha/deep");

    PickerLayer cancelled(PickerLayer::Mode::Folder, "Browse for Folder", "", "", root);
    cancelled.HandleKey(K(KeyCode::Escape));
    EXPECT_TRUE(cancelled.Done() && !cancelled.Result());
}

TEST_F(TerminalPicker, ShowsNamesAsTheProgramsCodePageAndTheInstruction)
{
    const auto draw = [](PickerLayer& picker) {
        backends::terminal::CellScreen screen;
        screen.Resize(80, 24);
        picker.Draw(screen);
        std::string all;
        for (int y = 0; y < screen.Rows(); ++y)
            all += screen.RowText(y) + "\n";
        return all;
    };
    PickerLayer files(PickerLayer::Mode::File, "Open", "", "Registry files (*.reg)|*.reg", root);
    std::string all = draw(files);
    for (const char* shown : {"Open", "Look in: ", "A.REG", "\xC3\xA4.reg", "Files of type: Registry files (*.reg)"})
        EXPECT_NE(all.find(shown), std::string::npos) << shown << "\n" << all;
    EXPECT_EQ(all.find("c.txt"), std::string::npos);

    PickerLayer folders(PickerLayer::Mode::Folder, "Browse for Folder", "Choose the target folder", "", root);
    all = draw(folders);
    for (const char* shown : {"Choose the target folder", "beta/", "Choose this folder"})
        EXPECT_NE(all.find(shown), std::string::npos) << shown << "\n" << all;
}

} // namespace
