#include "resource.h"
#include "toolkit/DialogWindow.h"
#include "platform/Exceptions.h"
#include "toolkit/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace platform;
using namespace toolkit;

// The ids the program uses, each in the resource that must hold it and with
// the kind of control the code drives it as.
TEST(ResourceScript, EveryIdTheProgramUsesIsThereWithItsKind)
{
    struct Use {
        int dialog, control;
        ControlKind kind;
    };
    const Use uses[] = {
        {IDD_TUNEWRIGHT_DIALOG, IDC_FUNCTION_LIST, ControlKind::ListView},
        {IDD_TUNEWRIGHT_DIALOG, IDC_CATEGORY_BOX, ControlKind::ComboBox},
        {IDD_TUNEWRIGHT_DIALOG, IDC_OFF_RADIO, ControlKind::RadioButton},
        {IDD_TUNEWRIGHT_DIALOG, IDC_ON_RADIO, ControlKind::RadioButton},
        {IDD_TUNEWRIGHT_DIALOG, IDC_NUMBER_EDIT, ControlKind::Edit},
        {IDD_TUNEWRIGHT_DIALOG, IDC_PATH_EDIT, ControlKind::Edit},
        {IDD_TUNEWRIGHT_DIALOG, IDC_SAVE_BUTTON, ControlKind::PushButton},
        {IDD_TUNEWRIGHT_DIALOG, IDC_BROWSE_BUTTON, ControlKind::PushButton},
        {IDD_TUNEWRIGHT_DIALOG, OkCommand, ControlKind::PushButton},
        {IDD_TUNEWRIGHT_DIALOG, CancelCommand, ControlKind::PushButton},
        {IDD_TUNEWRIGHT_DIALOG, IDC_HINT_TEXT, ControlKind::StaticText},
        {IDD_TUNEWRIGHT_DIALOG, IDC_INFO_TEXT, ControlKind::StaticText},
        {IDD_TUNEWRIGHT_DIALOG, IDC_AVAILABILITY_TEXT, ControlKind::StaticText},
        {IDD_TUNEWRIGHT_DIALOG, IDC_TUNING_GROUP, ControlKind::GroupBox},
        {IDD_TUNEWRIGHT_DIALOG, IDC_CHOICE_GROUP, ControlKind::GroupBox},
        {IDD_TUNEWRIGHT_DIALOG, IDC_VALUE_GROUP, ControlKind::GroupBox},
        {IDD_LANGUAGE_SELECTION, IDC_LANGUAGE_BOX, ControlKind::ComboBox},
        {IDD_LANGUAGE_SELECTION, IDC_LANGUAGE_GROUP, ControlKind::GroupBox},
        {IDD_LANGUAGE_SELECTION, OkCommand, ControlKind::PushButton},
        {IDD_ABOUTBOX, OkCommand, ControlKind::PushButton},
        {IDD_FIND, IDC_FIND_LABEL, ControlKind::StaticText},
        {IDD_FIND, IDC_FIND_TEXT, ControlKind::Edit},
        {IDD_FIND, IDC_FIND_STATUS, ControlKind::StaticText},
        {IDD_FIND, OkCommand, ControlKind::PushButton},
        {IDD_FIND, CancelCommand, ControlKind::PushButton},
        {IDD_HISTORY, IDC_HISTORY_LIST, ControlKind::ListView},
        {IDD_HISTORY, IDC_HISTORY_STATUS, ControlKind::StaticText},
        {IDD_HISTORY, IDC_HISTORY_RESTORE, ControlKind::PushButton},
        {IDD_HISTORY, IDC_HISTORY_UNDO, ControlKind::PushButton},
        {IDD_HISTORY, CancelCommand, ControlKind::PushButton},
    };
    for (const Use& use : uses) {
        const ControlTemplate* control = GetDialogTemplate(use.dialog).Find(use.control);
        ASSERT_TRUE(control) << "dialog " << use.dialog << " has no control " << use.control;
        EXPECT_EQ(control->kind, use.kind) << "dialog " << use.dialog << ", control " << use.control;
    }
    // The two radio buttons are one group, as the data exchange reads them.
    EXPECT_EQ(GetDialogTemplate(IDD_TUNEWRIGHT_DIALOG).RadioGroup(IDC_OFF_RADIO),
              (std::vector<int>{IDC_OFF_RADIO, IDC_ON_RADIO}));

    EXPECT_EQ(GetDialogTemplate(IDD_TUNEWRIGHT_DIALOG).menuId, IDR_MAINMENU);
    std::vector<int> commands;
    for (const auto& popup : GetMenuTemplate(IDR_MAINMENU).items)
        for (const auto& item : popup.items)
            commands.push_back(item.id);
    for (int id : {ID_FILE_FIND, ID_FILE_HISTORY, ID_FILE_REVERSE_CHANGES, ID_FILE_LANGUAGE_SELECTION, ID_FILE_EXIT,
                   ID_HELP_SHOW_HELP_FILE, ID_HELP_GO_TO_WEBSITE, ID_HELP_ABOUT})
        EXPECT_NE(std::find(commands.begin(), commands.end(), id), commands.end()) << "menu command " << id;
    EXPECT_FALSE(LoadResourceString(IDS_ABOUTBOX).empty());
    for (int id : {IDB_MENU_FIND, IDB_MENU_HISTORY, IDB_MENU_REVERSE, IDB_MENU_LANGUAGE, IDB_MENU_EXIT, IDB_MENU_HELP,
                   IDB_MENU_WEBSITE, IDB_MENU_ABOUT})
        EXPECT_TRUE(BitmapFileName(id)) << "bitmap " << id;

    // The main window's keys, which its boxes share: Ctrl+F opens Find, F3
    // goes on with it.
    const AcceleratorTable* keys = FindAccelerators(IDR_MAINMENU);
    ASSERT_TRUE(keys);
    EXPECT_EQ(keys->CommandFor(KeyChord{'F', true}), ID_FILE_FIND);
    EXPECT_EQ(keys->CommandFor(KeyChord{0x72}), ID_FIND_NEXT);
    EXPECT_EQ(keys->CommandFor(KeyChord{'F'}), std::nullopt);
    // Find opens over the lower right of the main window, inside it.
    const DialogTemplate& find = GetDialogTemplate(IDD_FIND);
    const DialogTemplate& main = GetDialogTemplate(IDD_TUNEWRIGHT_DIALOG);
    EXPECT_GT(find.x, main.cx / 3);
    EXPECT_LE(find.x + find.cx, main.cx);
    EXPECT_LE(find.y + find.cy, main.cy);
}

TEST(ResourceScript, ReadsAcceleratorsByVirtualKey)
{
    const ResourceScript s = ParseResourceScript("5 ACCELERATORS\nBEGIN\n  \"F\", 7, VIRTKEY, CONTROL, NOINVERT\n"
                                                 "  VK_F3, 8, VIRTKEY\n  \"9\", 9, VIRTKEY, SHIFT, ALT\nEND\n",
                                                 "t.rc");
    ASSERT_EQ(s.accelerators.size(), 1u);
    EXPECT_EQ(s.accelerators[0].id, 5);
    EXPECT_EQ(s.accelerators[0].CommandFor(KeyChord{'F', true}), 7);
    EXPECT_EQ(s.accelerators[0].CommandFor(KeyChord{0x72}), 8);
    EXPECT_EQ(s.accelerators[0].CommandFor(KeyChord{'9', false, true, true}), 9);
    EXPECT_EQ(s.accelerators[0].CommandFor(KeyChord{'9', false, true}), std::nullopt);
}

TEST(ResourceScript, ParsesNamesQuotesCommentsAndNegatedStyles)
{
    const ResourceSymbols symbols = ParseResourceSymbols("#ifndef X_H\n#define X_H\n#define IDD_X 7 // dialog\n"
                                                         "#define IDC_A (-5)\n#define OTHER IDD_X + 1\n#endif\n");
    EXPECT_EQ(symbols, (ResourceSymbols{{"IDD_X", 7}, {"IDC_A", -5}}));
    const ResourceScript s = ParseResourceScript(
        "// comment\n#include \"x.h\"\n#define IDC_A 99\n"
        "IDD_X DIALOGEX 0, 0, 10, 20\nSTYLE WS_POPUP | WS_SYSMENU\nCAPTION \"Say \"\"hi\"\"\"\n"
        "BEGIN\n  CONTROL \"A\\\\B\", IDC_A, \"Edit\", WS_TABSTOP | NOT WS_VISIBLE, 1, 2, 3, 4\n"
        "  CONTROL \"OK\", IDOK, \"Button\", BS_PUSHBUTTON, 1, 2, 3, 4\nEND\n",
        "t.rc", symbols);
    ASSERT_EQ(s.dialogs.size(), 1u);
    EXPECT_EQ(s.dialogs[0].id, 7);
    EXPECT_EQ(s.dialogs[0].controls.at(0).id, -5);
    EXPECT_EQ(s.dialogs[0].controls.at(1).id, 1);
    EXPECT_EQ(s.dialogs[0].caption, "Say \"hi\"");
    const ControlTemplate& c = s.dialogs[0].controls.at(0);
    EXPECT_EQ(c.text, "A\\B");
    EXPECT_EQ(c.kind, ControlKind::Edit);
    EXPECT_TRUE(c.TabStop());
    EXPECT_FALSE(c.Visible());
}

TEST(ResourceScript, ReportsTheLineOfAFault)
{
    const std::string control = "1 DIALOGEX 0, 0, 1, 1\nBEGIN\n  CONTROL \"x\", ";
    // Each POPUP opens one more level; the 16th level is the deepest allowed,
    // so the 16th POPUP fails, on line 3 + 2 * 15.
    std::string nested = "1 MENU\nBEGIN\n";
    for (int i = 0; i < 10000; ++i)
        nested += "POPUP \"p\"\nBEGIN\n";
    const struct {
        std::string text;
        int line;
    } bad[] = {
        {control + "IDC_NOWHERE, \"Edit\", 0, 1, 2, 3, 4\nEND\n", 3},
        {"\r\n" + control + "IDC_NOWHERE, \"Edit\", 0, 1, 2, 3, 4\r\nEND\r\n", 4},
        {"1 BANANA \"x\"\n", 1},
        {"\n\nSTRINGTABLE\nBEGIN\n 5 \"open\n", 5},
        {control + "5, \"Edit\", 0, 1, 2,\n 99999999999999999999999, 4\nEND\n", 4},
        {control + "5, \"Edit\", 0, 1, 2, 3, 4294967296\nEND\n", 3},
        {control + "5, \"Edit\", 0, 1, 2, 3, 4x\nEND\n", 3},
        {nested, 33},
        {"1 ACCELERATORS\nBEGIN\n \"f\", 2, VIRTKEY\nEND\n", 3},
        {"1 ACCELERATORS\nBEGIN\n \"F\", 2, VIRTKEY,\n CONTROL\n \"^F\", 3\nEND\n", 5},
        {"1 ACCELERATORS\nBEGIN\n \"F\", 2, VIRTKEY\n \"G\", 3\nEND\n", 4},
        {"1 ACCELERATORS\nBEGIN\n \"F\", 2, VIRTKEY, CTRL\nEND\n", 3},
        {"1 ACCELERATORS\nBEGIN\n\n VK_F99, 2, VIRTKEY\nEND\n", 4},
    };
    for (const auto& b : bad) {
        try {
            ParseResourceScript(b.text, "bad.rc");
            ADD_FAILURE() << "accepted: " << b.text.substr(0, 80);
        } catch (const CException& e) {
            EXPECT_EQ(std::string(e.what()).rfind("bad.rc, line " + std::to_string(b.line) + ": ", 0), 0u) << e.what();
        }
    }
}
