// The parts of our dialog toolkit that the program leans on: data exchange,
// the message map, the controls kept in memory.
#include "unit/RecordingBackend.h"

#include "toolkit/Dialog.h"
#include "platform/Exceptions.h"
#include "toolkit/model/ModelWindow.h"

#include <gtest/gtest.h>

using namespace platform;
using namespace toolkit;

namespace {

// Windows whose boxes nobody answers.
RecordingBackend noBoxes;

class Probe final : public CDialog {
public:
    Probe() : CDialog(102) {}
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map = {
            OnCommand(1010, &Probe::OnSave),
            OnTimerMessage(&Probe::OnTick),
            OnCommand(1007, &Probe::OnFail),
        };
        return map;
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Text(dx, 1005, number);
        DDX_Radio(dx, 1002, radio);
        DDX_CBString(dx, 1009, category);
    }
    void OnSave() { ++saves; }
    void OnTick(int id) { ticks.push_back(id); }
    void OnFail() { throw CFileException("/x/0019fct.ini", "cannot open"); }

    std::string number;
    int radio = -1;
    std::string category;
    int saves = 0;
    std::vector<int> ticks;
};

template <class Dialog = Probe>
struct Fixture {
    Fixture() { dlg.AttachWindow(&window); }
    RecordingBackend backend;
    ScopedBackend installed{backend};
    ModelWindow window{GetDialogTemplate(102), backend};
    Dialog dlg;
};

} // namespace

TEST(Toolkit, DataExchangeBothWays)
{
    Fixture f;
    f.window.ComboAddString(1009, "Alpha   ");
    f.window.ComboAddString(1009, "beta   ");
    f.window.ComboAddString(1009, "Beta   ");

    f.dlg.number = "12";
    f.dlg.radio = 1;
    f.dlg.category = "BETA";
    f.dlg.UpdateData(false);
    EXPECT_EQ(f.window.GetItemText(1005), "12");
    EXPECT_FALSE(f.window.GetCheck(1002));
    EXPECT_TRUE(f.window.GetCheck(1003));
    // The first entry that begins with the text, letter case ignored.
    EXPECT_EQ(f.window.ComboGetCurSel(1009), 1);

    f.window.SetItemText(1005, "34");
    f.window.ClickRadio(1002);
    f.window.ComboSetCurSel(1009, 2);
    f.dlg.UpdateData(true);
    EXPECT_EQ(f.dlg.number, "34");
    EXPECT_EQ(f.dlg.radio, 0);
    EXPECT_EQ(f.dlg.category, "Beta   ");

    f.window.SetCheck(1002, false);
    f.dlg.UpdateData(true);
    EXPECT_EQ(f.dlg.radio, -1);

    // No entry begins with the text: a drop-down list keeps its selection.
    f.dlg.category = "Gamma";
    f.dlg.UpdateData(false);
    EXPECT_EQ(f.window.ComboGetCurSel(1009), 2);
}

TEST(Toolkit, MessageMapRoutesAndDefaultsEndTheDialog)
{
    Fixture f;
    f.dlg.SendCommand(1010);
    Message tick{MsgKind::Timer, 1};
    f.dlg.Dispatch(tick);
    EXPECT_EQ(f.dlg.saves, 1);
    EXPECT_EQ(f.dlg.ticks, std::vector<int>{1});
    EXPECT_FALSE(f.window.EndResult());

    // A failing handler is reported and ends only itself.
    f.dlg.SendCommand(1007);
    ASSERT_EQ(f.backend.errors.size(), 1u);
    EXPECT_NE(f.backend.errors[0].find("0019fct.ini"), std::string::npos);
    EXPECT_FALSE(f.window.EndResult());

    Message close{MsgKind::Close};
    f.dlg.Dispatch(close);
    EXPECT_EQ(f.window.EndResult(), Answer::Cancel);
}

TEST(Toolkit, EnterTakesTheControlsAndEndsWithOk)
{
    Fixture f;
    f.window.SetItemText(1005, "99");
    f.dlg.SendCommand(OkCommand);
    EXPECT_EQ(f.window.EndResult(), Answer::Ok);
    EXPECT_EQ(f.dlg.number, "99");
}

TEST(Toolkit, ListAndComboBehaveLikeTheirControls)
{
    ModelWindow w(GetDialogTemplate(102), noBoxes);
    w.ListInsertItem(1000, 0, "b");
    w.ListInsertItem(1000, 0, "a");
    w.ListInsertItem(1000, 10, "c"); // past the end: appended
    EXPECT_EQ(w.ListItemCount(1000), 3);
    EXPECT_EQ(w.ListItemText(1000, 2, 0), "c");
    EXPECT_EQ(w.ListItemText(1000, 3, 0), "");
    EXPECT_EQ(w.ListItemText(1000, -1, 0), "");

    // Setting the mark does not select; a click does both.
    w.ListSetSelectionMark(1000, 1);
    EXPECT_TRUE(w.Find(1000)->selected.empty());
    w.ClickListItem(1000, 2);
    EXPECT_EQ(w.ListGetSelectionMark(1000), 2);
    EXPECT_EQ(w.Find(1000)->selected, std::set<int>{2});
    // An item inserted at or before the mark pushes the mark down with its
    // item, as the Windows list view does; one inserted after leaves it.
    w.ListInsertItem(1000, 2, "x");
    w.ListInsertItem(1000, 0, "y");
    w.ListInsertItem(1000, 5, "z");
    EXPECT_EQ(w.ListGetSelectionMark(1000), 4);
    EXPECT_EQ(w.Find(1000)->selected, std::set<int>{4});
    EXPECT_EQ(w.ListItemText(1000, 4, 0), "c");
    // Each item has a text in each column, which moves with its item and its
    // column; a column that is not there takes none.
    w.ListInsertColumn(1000, 0, "One", 100);
    w.ListInsertColumn(1000, 1, "Three", 50);
    w.ListSetItemText(1000, 4, 1, "c3");
    w.ListSetItemText(1000, 4, 2, "nowhere");
    w.ListInsertColumn(1000, 1, "Two", 50);
    w.ListInsertItem(1000, 0, "w");
    EXPECT_EQ(w.ListItemText(1000, 5, 2), "c3");
    EXPECT_EQ(w.ListItemText(1000, 5, 1), "");
    w.ListSetItemText(1000, 5, 1, "c2");
    w.ListDeleteColumn(1000, 1);
    EXPECT_EQ(w.ListItemText(1000, 5, 1), "c3");
    EXPECT_EQ(w.ListItemText(1000, 5, 0), "c");
    // So does a text set wide, shown in the code page; one set narrow
    // since replaces it.
    w.ListSetItemWideText(1000, 5, 1, u"\u03A9 c3");
    w.ListInsertColumn(1000, 1, "Two", 50);
    w.ListInsertItem(1000, 0, "v");
    EXPECT_EQ(w.ListItemWideText(1000, 6, 2), u"\u03A9 c3");
    EXPECT_EQ(w.ListItemText(1000, 6, 2), "? c3");
    w.ListDeleteColumn(1000, 1);
    EXPECT_EQ(w.ListItemWideText(1000, 6, 1), u"\u03A9 c3");
    w.ListSetItemText(1000, 6, 1, "d");
    EXPECT_EQ(w.ListItemWideText(1000, 6, 1), u"d");
    w.ListDeleteAllItems(1000);
    EXPECT_EQ(w.ListGetSelectionMark(1000), -1);

    // The language dialog's combo box sorts and has an edit field.
    ModelWindow lang(GetDialogTemplate(134), noBoxes);
    EXPECT_EQ(lang.ComboAddString(1020, "English"), 0);
    EXPECT_EQ(lang.ComboAddString(1020, "Deutsch"), 0);
    EXPECT_EQ(lang.ComboItemText(1020, 1), "English");
    lang.SetItemText(1020, "typed");
    EXPECT_EQ(lang.GetItemText(1020), "typed");
    lang.ComboSetCurSel(1020, 1);
    EXPECT_EQ(lang.GetItemText(1020), "English");

    // A drop-down list has no edit field: its text is the selected entry.
    ModelWindow main(GetDialogTemplate(102), noBoxes);
    main.ComboAddString(1009, "x");
    main.SetItemText(1009, "ignored");
    EXPECT_EQ(main.GetItemText(1009), "");
    main.ComboSetCurSel(1009, 0);
    EXPECT_EQ(main.GetItemText(1009), "x");
    main.ComboSetCurSel(1009, 7);
    EXPECT_EQ(main.ComboGetCurSel(1009), -1);

    EXPECT_THROW(main.SetItemText(4242, "x"), CException);
}

TEST(Toolkit, MenusChangeTextAndBitmapByPosition)
{
    ModelWindow w(GetDialogTemplate(102), noBoxes);
    w.MenuSetItemText(0, -1, "Datei");
    w.MenuSetItemText(0, 6, "  Beenden");
    w.MenuSetItemBitmap(0, 6, 143);
    w.MenuSetItemText(5, 0, "nowhere");
    EXPECT_EQ(w.Menu()[0].text, "Datei");
    EXPECT_EQ(w.Menu()[0].items[6].text, "  Beenden");
    EXPECT_EQ(w.Menu()[0].items[6].id, 32771);
    EXPECT_EQ(w.Menu()[0].items[6].bitmapId, 143);
    EXPECT_TRUE(w.HasSystemMenu());
}

namespace {

// Counts the close requests; owns only the About entry of the system menu.
class SystemMenuProbe final : public CDialog {
public:
    SystemMenuProbe() : CDialog(102) {}
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map = {
            OnSysCommandMessage(&SystemMenuProbe::OnSysCommand),
            OnCloseMessage(&SystemMenuProbe::OnClose),
        };
        return map;
    }
    bool OnInitDialog() override { return false; }
    void OnSysCommand(int id, long param)
    {
        if (id == 16)
            ++abouts;
        else
            CDialog::OnSysCommand(id, param);
    }
    void OnClose()
    {
        ++closes;
        CDialog::OnClose();
    }
    int abouts = 0;
    int closes = 0;
};

} // namespace

TEST(Toolkit, SystemCommandsTheProgramDoesNotOwnGoToTheSystem)
{
    Fixture<SystemMenuProbe> f;
    EXPECT_EQ(f.dlg.InitDialog(), std::optional<bool>(false));

    // Moving, the keyboard menu, the menu bar and minimising are passed on.
    for (int id : {0xF012, 0xF100, 0xF090, 0xF020}) {
        Message m{MsgKind::SysCommand, id};
        EXPECT_FALSE(f.dlg.Route(m)) << std::hex << id;
    }
    Message about{MsgKind::SysCommand, 16};
    EXPECT_TRUE(f.dlg.Route(about));
    EXPECT_EQ(f.dlg.abouts, 1);

    // A window system turns the passed-on Close into one close request; the
    // windows in memory do that themselves, once.
    Message close{MsgKind::SysCommand, SystemCloseCommand};
    EXPECT_FALSE(f.dlg.Route(close));
    EXPECT_EQ(f.dlg.closes, 0);
    Message again{MsgKind::SysCommand, SystemCloseCommand};
    f.dlg.Dispatch(again);
    EXPECT_EQ(f.dlg.closes, 1);
    EXPECT_EQ(f.window.EndResult(), Answer::Cancel);

    // The last result given counts, as on Windows.
    f.dlg.EndDialog(Answer::Ok);
    EXPECT_EQ(f.window.EndResult(), Answer::Ok);
}
