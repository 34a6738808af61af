#include "toolkit/Exceptions.h"
#include "toolkit/Resources.h"

#include <gtest/gtest.h>

using namespace tk;

TEST(ResourceScript, MainDialogMatchesItsTemplate)
{
    const DialogTemplate& d = GetDialogTemplate(102);
    EXPECT_EQ(d.caption, "Orvelle Tunewright 3");
    EXPECT_EQ(d.cx, 420);
    EXPECT_EQ(d.cy, 271);
    EXPECT_EQ(d.menuId, 132);
    EXPECT_EQ(d.fontName, "MS Sans Serif");

    // Template order is the tab order and decides the radio groups.
    std::vector<int> ids;
    for (const auto& c : d.controls)
        ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<int>{1000, 1, 2, 1009, 1010, -1, -1, 1019, 1011, 1007, 1006, 1001, 1002, 1003, 1004,
                                     1005, 1008, 1021}));

    const ControlTemplate* ok = d.Find(1);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(ok->DefaultButton());
    EXPECT_FALSE(ok->Visible());
    EXPECT_EQ(d.Find(1000)->kind, ControlKind::ListView);
    EXPECT_EQ(d.Find(1009)->kind, ControlKind::ComboBox);
    EXPECT_TRUE(d.Find(1009)->Has("CBS_DROPDOWNLIST"));
    EXPECT_EQ(d.Find(1002)->kind, ControlKind::RadioButton);
    EXPECT_TRUE(d.Find(1002)->StartsGroup());
    EXPECT_FALSE(d.Find(1003)->StartsGroup());
    EXPECT_TRUE(d.Find(1004)->StartsGroup());
    EXPECT_EQ(d.Find(1004)->kind, ControlKind::GroupBox);
    EXPECT_TRUE(d.Find(1005)->Has("ES_RIGHT"));
    const ControlTemplate& banner = d.controls[5];
    EXPECT_EQ(banner.kind, ControlKind::StaticBitmap);
    EXPECT_EQ(banner.resourceId, 135);
    EXPECT_EQ(banner.x, 0);
    EXPECT_EQ(banner.y, 236);
    EXPECT_EQ(banner.cx, 423);
    EXPECT_EQ(banner.cy, 31);
}

TEST(ResourceScript, MenuStringsAndPictures)
{
    const MenuTemplate& m = GetMenuTemplate(132);
    ASSERT_EQ(m.items.size(), 2u);
    EXPECT_EQ(m.items[0].text, "&File");
    ASSERT_EQ(m.items[0].items.size(), 5u);
    EXPECT_EQ(m.items[0].items[0].id, 32772);
    EXPECT_TRUE(m.items[0].items[1].separator);
    EXPECT_EQ(m.items[0].items[4].text, "&Exit");
    EXPECT_EQ(m.items[1].items[3].id, 32778);
    EXPECT_EQ(LoadResourceString(101), "About ...");
    EXPECT_EQ(LoadResourceString(999), "");
    for (int id : {135, 136, 138, 139, 140, 143, 145, 146})
        EXPECT_TRUE(BitmapFileName(id)) << id;
    EXPECT_FALSE(BitmapFileName(137));
    EXPECT_EQ(GetDialogTemplate(134).Find(1020)->Has("CBS_SORT"), true);
    EXPECT_EQ(GetDialogTemplate(100).caption, "About ...");
}

TEST(ResourceScript, ParsesQuotesCommentsAndNegatedStyles)
{
    const ResourceScript s = ParseResourceScript(
        "// comment\n#include \"x.h\"\n"
        "7 DIALOGEX 0, 0, 10, 20\nSTYLE WS_POPUP | WS_SYSMENU\nCAPTION \"Say \"\"hi\"\"\"\n"
        "BEGIN\n  CONTROL \"A\\\\B\", 5, \"Edit\", WS_TABSTOP | NOT WS_VISIBLE, 1, 2, 3, 4\nEND\n",
        "t.rc");
    ASSERT_EQ(s.dialogs.size(), 1u);
    EXPECT_EQ(s.dialogs[0].caption, "Say \"hi\"");
    const ControlTemplate& c = s.dialogs[0].controls.at(0);
    EXPECT_EQ(c.text, "A\\B");
    EXPECT_EQ(c.kind, ControlKind::Edit);
    EXPECT_TRUE(c.TabStop());
    EXPECT_FALSE(c.Visible());
}

TEST(ResourceScript, ReportsTheLineOfAFault)
{
    const char* bad[] = {
        "1 DIALOGEX 0, 0, 1, 1\nBEGIN\n  CONTROL \"x\", 5, \"Edit\"\nEND\n",
        "1 BANANA \"x\"\n",
        "STRINGTABLE\nBEGIN\n 5 \"open\n",
    };
    for (const char* text : bad) {
        try {
            ParseResourceScript(text, "bad.rc");
            ADD_FAILURE() << "accepted: " << text;
        } catch (const CException& e) {
            EXPECT_NE(std::string(e.what()).find("bad.rc, line "), std::string::npos) << e.what();
        }
    }
}
