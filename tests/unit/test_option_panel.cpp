// The option panel's state that no control shows (key path, value name, the
// value before a change, bounds), and failures that strike a running window:
// the main dialog driven tick by tick on a window that lives in memory.
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "app/TunewrightDlg.h"
#include "toolkit/Resources.h"
#include "toolkit/model/ModelWindow.h"
#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace saving;
using namespace util;
using namespace app;
using namespace catalogue;
using namespace i18n;

namespace {

const std::string kKeyPath = "HKEY_CURRENT_USER\\\\Software\\\\Test";

std::string Translation(int functions)
{
    std::string t = "[1033]\n00055 Save\n00060 Off\n00065 On\n00070 Browse\n00075 Open\n";
    for (int key = 140; key <= 160; key += 5)
        t += "00" + std::to_string(key) + " Available " + std::to_string(key) + "\n";
    for (int i = 0; i < functions; ++i)
        t += std::to_string(10000 + 10 * i) + " Function " + std::to_string(i) + "\n";
    return t + std::to_string(10000 + 10 * functions) + " End of functions\n[EOL]\n";
}

class OptionPanel : public ::testing::Test {
protected:
    OptionPanel() : services_(Services(folder_, store_))
    {
        folder_.Write("config.ini", "Product ID\n0019\nLanguage\n[1033]\n");
    }

    static platform::Services Services(const TempAppFolder& folder, regfile::RegistryTree& store)
    {
        platform::Services s;
        s.registry = &store;
        s.executablePath = folder.Path("tunewright");
        return s;
    }

    void Start(int functions, const std::string& catalogue, const std::string& store)
    {
        folder_.Write("0019trl.ini", Translation(functions));
        folder_.Write("0019fct.ini", catalogue);
        const auto seed = regfile::ParseRegFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test]\n" + store, "seed");
        ASSERT_TRUE(seed) << seed.Error().Message();
        ASSERT_TRUE(regfile::ApplyRegFile(seed.Value(), store_, regfile::RegFileComments::Drop));
        dialog_.AttachWindow(&window_);
        ASSERT_TRUE(dialog_.RunInitDialog());
    }
    void Tick()
    {
        toolkit::Message tick;
        tick.kind = toolkit::MsgKind::Timer;
        tick.id = 1;
        dialog_.Dispatch(tick);
    }
    void Show(int row)
    {
        window_.ClickListItem(1000, row);
        Tick();
    }

    TempAppFolder folder_;
    regfile::RegistryTree store_;
    platform::ScopedServices services_;
    RecordingBackend backend_{toolkit::Answer::Yes};
    toolkit::ScopedBackend installed_{backend_};
    toolkit::ModelWindow window_{toolkit::GetDialogTemplate(CTunewrightDlg::IDD), backend_};
    CTunewrightDlg dialog_;
};

} // namespace

TEST_F(OptionPanel, EachKindSetsTheStateThatSavingReads)
{
    Start(6,
          "10000 0210\n10001 " + kKeyPath + "\n10002 Delay\n10003 12 \n10004 4000\n"
          "10010 0910\n10011 " + kKeyPath + "\n10012 Count\n10013 3\n10014 -5\n"
          "10020 0710\n10021 " + kKeyPath + "\n10022 Flag\n"
          "10030 0410\n10031 C:\\\\Windows\\\\regedit.exe\n"
          "10040 1110\n10041 ignored\n10042 ignored\n"
          "10050 0510\n10051 HKEY_LOCAL_MACHINE\\\\Software\\\\Other\n10052 Picture\n10053 *.bmp\n",
          "\"Delay\"=\"400\"\n\"Count\"=dword:fffffffb\n\"Flag\"=dword:00000002\n");
    Tick();
    EXPECT_EQ(dialog_.header, "0210");
    EXPECT_EQ(dialog_.keyPath, kKeyPath);
    EXPECT_EQ(dialog_.valueName, "Delay");
    EXPECT_EQ(dialog_.currentValue, "400");
    EXPECT_EQ(dialog_.numberText, "400");
    EXPECT_EQ(dialog_.minimum, 120); // a blank counts as the digit 0
    EXPECT_EQ(dialog_.maximum, 4000);
    EXPECT_EQ(dialog_.power.currentKeyPath, kKeyPath);

    Show(1);
    EXPECT_EQ(dialog_.valueName, "Count");
    EXPECT_EQ(dialog_.currentValue, "-5");
    EXPECT_EQ(dialog_.minimum, 3);
    EXPECT_EQ(dialog_.maximum, 5); // no sign: "-" reads as 0

    Show(2);
    EXPECT_EQ(dialog_.currentValue, "1");
    EXPECT_EQ(dialog_.switchIndex, 1);
    EXPECT_EQ(dialog_.minimum, 3); // kept from the bounded number
    EXPECT_EQ(dialog_.numberText, "-5");

    // An open target sets the target and keeps the switch's value name and value.
    Show(3);
    EXPECT_EQ(dialog_.header, "0410");
    EXPECT_EQ(dialog_.keyPath, "C:\\\\Windows\\\\regedit.exe");
    EXPECT_EQ(dialog_.valueName, "Flag");
    EXPECT_EQ(dialog_.currentValue, "1");
    EXPECT_EQ(dialog_.switchIndex, 1);

    // A kind outside 1-10 takes its header and nothing else.
    Show(4);
    EXPECT_EQ(dialog_.header, "1110");
    EXPECT_EQ(dialog_.keyPath, "C:\\\\Windows\\\\regedit.exe");
    EXPECT_EQ(dialog_.valueName, "Flag");

    Show(5);
    EXPECT_EQ(dialog_.keyPath, "HKEY_LOCAL_MACHINE\\\\Software\\\\Other");
    EXPECT_EQ(dialog_.valueName, "Picture");
    EXPECT_EQ(dialog_.currentValue, "");
    EXPECT_EQ(dialog_.numberText, "bmp");
    EXPECT_EQ(dialog_.selectedFunction, 5);
    EXPECT_EQ(dialog_.shownFunction, 5);
    EXPECT_TRUE(backend_.errors.empty());
}

TEST_F(OptionPanel, TheFirstPollShowsFunctionZeroOnce)
{
    Start(2, "10000 0810\n10001 " + kKeyPath + "\n10002 N\n10010 0810\n10011 " + kKeyPath + "\n10012 M\n",
          "\"N\"=dword:00000003\n");
    EXPECT_EQ(dialog_.shownFunction, 99);
    EXPECT_EQ(dialog_.previousSelectionMark, 1);
    Tick();
    EXPECT_EQ(dialog_.shownFunction, 0);
    EXPECT_EQ(dialog_.previousSelectionMark, 0);
    EXPECT_EQ(window_.GetItemText(1005), "3");

    // Later polls take what the user typed and read nothing anew.
    window_.SetItemText(1005, "8");
    std::filesystem::remove(folder_.Path("0019fct.ini"));
    Tick();
    Tick();
    EXPECT_EQ(dialog_.numberText, "8");
    EXPECT_TRUE(backend_.errors.empty());
}

TEST_F(OptionPanel, AFailedDisplayIsReportedOnceAndLeavesThePanel)
{
    Start(2, "10000 0811\n10001 " + kKeyPath + "\n10002 N\n10010 0110\n10011 " + kKeyPath + "\n10012 S\n",
          "\"N\"=dword:00000007\n");
    Tick();
    ASSERT_EQ(window_.GetItemText(1011), "Function 0");
    std::filesystem::remove(folder_.Path("0019fct.ini"));

    Show(1);
    for (int i = 0; i < 5; ++i)
        Tick();
    ASSERT_EQ(backend_.errors.size(), 1u);
    EXPECT_NE(backend_.errors[0].find("0019fct.ini"), std::string::npos) << backend_.errors[0];
    EXPECT_EQ(window_.GetItemText(1011), "Function 0");
    EXPECT_EQ(window_.GetItemText(1005), "7");
    EXPECT_TRUE(window_.IsItemVisible(1005));
    EXPECT_FALSE(window_.IsItemVisible(1002));
    EXPECT_EQ(window_.GetItemText(1021), "Available 145");
    EXPECT_EQ(dialog_.valueName, "N");
    EXPECT_EQ(dialog_.currentValue, "7");
    // What saving reads still belongs to the function on show.
    EXPECT_EQ(dialog_.shownFunction, 0);
    EXPECT_EQ(dialog_.header, "0811");

    // Selecting the shown function and then the broken one again tries it
    // again: once the file is back, it is shown.
    Show(0);
    Tick();
    folder_.Write("0019fct.ini", "10000 0811\n10001 " + kKeyPath + "\n10002 N\n10010 0110\n10011 " + kKeyPath + "\n10012 S\n");
    Show(1);
    Tick();
    EXPECT_EQ(backend_.errors.size(), 1u);
    EXPECT_EQ(window_.GetItemText(1011), "Function 1");
    EXPECT_EQ(dialog_.shownFunction, 1);
}

TEST_F(OptionPanel, AFailedDisplayIsTriedAgainWhenTheSameItemIsClickedAgain)
{
    const std::string catalogue = "10000 0811\n10001 " + kKeyPath + "\n10002 N\n10010 0110\n10011 " + kKeyPath +
                                  "\n10012 S\n";
    Start(2, catalogue, "\"S\"=\"1\"\n");
    Tick();
    std::filesystem::remove(folder_.Path("0019fct.ini"));
    Show(1);
    Tick();
    Tick();
    ASSERT_EQ(backend_.errors.size(), 1u);

    // Clicked again while still broken: tried again, reported again, once.
    Show(1);
    Tick();
    ASSERT_EQ(backend_.errors.size(), 2u);
    EXPECT_EQ(window_.GetItemText(1011), "Function 0");

    folder_.Write("0019fct.ini", catalogue);
    Show(1);
    Tick();
    EXPECT_EQ(backend_.errors.size(), 2u);
    EXPECT_EQ(window_.GetItemText(1011), "Function 1");
    EXPECT_EQ(dialog_.switchIndex, 1);
}

TEST_F(OptionPanel, AFailedRefillIsReportedOnceAndLeavesTheListEmpty)
{
    Start(2, "10000 0810\n10001 " + kKeyPath + "\n10002 N\n10010 0800\n10011 " + kKeyPath + "\n10012 M\n", "");
    Tick();
    std::filesystem::remove(folder_.Path("0019fct.ini"));
    window_.ComboSetCurSel(1009, 1);
    for (int i = 0; i < 5; ++i)
        Tick();
    ASSERT_EQ(backend_.errors.size(), 1u);
    EXPECT_NE(backend_.errors[0].find("0019fct.ini"), std::string::npos);
    EXPECT_EQ(window_.ListItemCount(1000), 0);
    EXPECT_EQ(window_.GetItemText(1011), "Function 0");
    EXPECT_EQ(dialog_.shownFunction, 0);

    // Once the catalogue is back, the next change of category works again.
    folder_.Write("0019fct.ini", "10000 0810\n10001 " + kKeyPath + "\n10002 N\n10010 0800\n10011 x\n10012 M\n");
    window_.ComboSetCurSel(1009, 2);
    Tick();
    Tick();
    EXPECT_EQ(window_.ListItemCount(1000), 1);
    EXPECT_EQ(window_.ListItemText(1000, 0, 0), "Function 0");
    EXPECT_EQ(backend_.errors.size(), 1u);
}

// States that no click reaches but the window must survive: a selection mark
// of -1 or past the end of the list, a category box without a selection.
TEST_F(OptionPanel, AMarkOrCategoryOutsideItsListShowsNothing)
{
    std::string catalogue;
    for (int i = 0; i < 120; ++i) {
        const std::string key = std::to_string(1000 + i);
        catalogue += key + "0 0810\n" + key + "1 " + kKeyPath + "\n" + key + "2 V" + std::to_string(i) + "\n";
    }
    Start(120, catalogue, "\"V1\"=dword:00000001\n\"V99\"=dword:00000063\n");
    // A tick that showed nothing leaves function 99 free to be the first shown.
    window_.ListSetSelectionMark(1000, -1);
    Tick();
    Show(99);
    EXPECT_EQ(window_.GetItemText(1011), "Function 99");
    EXPECT_EQ(window_.GetItemText(1005), "99");

    for (const int mark : {-1, 120, 500}) {
        window_.ListSetSelectionMark(1000, mark);
        Tick();
        Tick();
        EXPECT_EQ(window_.GetItemText(1011), "Function 99") << mark;
    }
    Show(1);
    EXPECT_EQ(window_.GetItemText(1005), "1");

    window_.ComboSetCurSel(1009, -1);
    Tick();
    Tick();
    EXPECT_EQ(window_.ListItemCount(1000), 0);
    EXPECT_EQ(window_.ComboGetCurSel(1009), -1);
    EXPECT_EQ(window_.GetItemText(1011), "Function 1");
    EXPECT_TRUE(backend_.errors.empty());
}
