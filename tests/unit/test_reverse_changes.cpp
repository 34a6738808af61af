// Reverse changes through the real dialog: a shell that cannot open the
// backup is told naming it, and the panel shows the registry's value again
// once the import is done, whether the shell imports before it returns
// (Linux) or hands the file to a program that imports later (Windows).
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "app/TunewrightDlg.h"
#include "regfile/RegistryTree.h"
#include "toolkit/Resources.h"
#include "toolkit/model/ModelWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

namespace {

const char* const kKey = "Control Panel\\Desktop";

class FakeShell final : public tk::IShell {
public:
    tk::ShellResult Open(const std::string& target) override
    {
        opened.push_back(target);
        if (failure)
            return *failure;
        if (import)
            import();
        return {};
    }

    std::vector<std::string> opened;
    std::optional<std::string> failure;
    std::function<void()> import; // what happens before the shell returns
};

class ReverseChanges : public ::testing::Test {
protected:
    ReverseChanges()
    {
        folder_.Write("config.ini", "Product ID\n0019\nLanguage\n[1033]\n");
        folder_.Write("0019trl.ini", "[1033]\n00005 Caption\n00115 Reverse\n00120 Pick\n10000 Menu delay\n"
                                     "10010 End of functions\n[EOL]\n");
        folder_.Write("0019fct.ini", "10000 0210\n10001 HKEY_CURRENT_USER\\\\Control Panel\\\\Desktop\n"
                                     "10002 MenuShowDelay\n10003 0\n10004 9999\n");
        std::filesystem::create_directory(folder_.Folder() / "backup");
        Store("400");
        // The services that TempAppFolder installed, with this test's shell.
        tk::CurrentServices().shell = &shell_;
        backend_.picked = folder_.Path("backup/old.reg");
        dialog_.AttachWindow(&window_);
        EXPECT_TRUE(dialog_.RunInitDialog());
        Tick();
    }

    void Store(const std::string& value)
    {
        ASSERT_TRUE(tree_.SetValue(tk::RegRoot::CurrentUser, kKey, "MenuShowDelay", tk::RegValue::String(value)));
    }
    void Tick()
    {
        tk::Message tick{tk::MsgKind::Timer, 1};
        dialog_.Dispatch(tick);
    }
    void Activate()
    {
        tk::Message activate{tk::MsgKind::Activate};
        dialog_.Dispatch(activate);
    }
    std::string Shown() const { return window_.GetItemText(IDC_NUMBER_EDIT); }

    tk::RegistryTree tree_;
    TempAppFolder folder_{&tree_};
    FakeShell shell_;
    RecordingBackend backend_;
    tk::ScopedBackend installed_{backend_};
    tk::ModelWindow window_{tk::GetDialogTemplate(CTunewrightDlg::IDD), backend_};
    CTunewrightDlg dialog_;
};

} // namespace

TEST_F(ReverseChanges, AShellThatCannotOpenTheBackupIsToldNamingIt)
{
    shell_.failure = "No application is associated with the specified file for this operation";
    window_.SetItemText(IDC_NUMBER_EDIT, "1000");
    dialog_.SendCommand(ID_FILE_REVERSE_CHANGES);
    EXPECT_EQ(shell_.opened, std::vector<std::string>{folder_.Path("backup/old.reg")});
    EXPECT_EQ(backend_.boxes,
              (std::vector<std::string>{"Reverse\nPick", "\"" + folder_.Path("backup/old.reg") +
                                                             "\" could not be opened: No application is associated "
                                                             "with the specified file for this operation."}));
    // Nothing was imported: the panel keeps what the user typed.
    EXPECT_EQ(Shown(), "1000");
}

TEST_F(ReverseChanges, AnImportBeforeTheShellReturnsIsShownAtOnce)
{
    window_.SetItemText(IDC_NUMBER_EDIT, "1000");
    Tick();
    shell_.import = [this] { Store("250"); };
    dialog_.SendCommand(ID_FILE_REVERSE_CHANGES);
    EXPECT_EQ(Shown(), "250");
    // The value shown is the registry's: closing loses nothing and asks nothing.
    backend_.boxes.clear();
    dialog_.SendCommand(tk::CancelCommand);
    EXPECT_TRUE(backend_.boxes.empty());
    EXPECT_TRUE(window_.EndResult());
}

TEST_F(ReverseChanges, AnImportAfterTheShellReturnsIsShownWhenTheWindowIsActiveAgain)
{
    Activate();
    dialog_.SendCommand(ID_FILE_REVERSE_CHANGES);
    EXPECT_EQ(Shown(), "400");
    Store("250"); // the registry editor imports
    Activate();
    EXPECT_EQ(Shown(), "250");
    // Once: later activations leave the panel alone.
    Store("300");
    Activate();
    EXPECT_EQ(Shown(), "250");

    // A value typed before the window is active again is the user's newer
    // wish and stays.
    dialog_.SendCommand(ID_FILE_REVERSE_CHANGES);
    window_.SetItemText(IDC_NUMBER_EDIT, "1234");
    Store("500");
    Activate();
    EXPECT_EQ(Shown(), "1234");
}
