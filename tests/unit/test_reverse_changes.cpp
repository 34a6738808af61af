// Reverse changes through the real dialog: a shell that cannot open the
// backup is told naming it, with the offer to restore it in-process, and the
// panel shows the registry's value again once the import is done, whether
// the shell imports before it returns (Linux) or hands the file to a program
// that imports later (Windows), which is waited for where the shell follows
// it.
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "app/TunewrightDlg.h"
#include "regfile/RegistryTree.h"
#include "toolkit/Resources.h"
#include "toolkit/model/ModelWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

using namespace saving;
using namespace util;
using namespace app;
using namespace catalogue;
using namespace i18n;

namespace {

const char* const kKey = "Control Panel\\Desktop";

class FakeShell final : public platform::IShell {
public:
    platform::ShellResult Open(const std::string& target) override
    {
        opened.push_back(target);
        if (failure)
            return *failure;
        if (import)
            import();
        return {};
    }
    platform::ShellStarted OpenFollowed(const std::string& target) override
    {
        platform::ShellResult opened = Open(target);
        if (!opened)
            return opened.Error();
        if (!follow)
            return std::unique_ptr<platform::IStartedProgram>();
        return std::unique_ptr<platform::IStartedProgram>(std::make_unique<Program>(ended));
    }

    std::vector<std::string> opened;
    std::optional<std::string> failure;
    std::function<void()> import; // what happens before the shell returns
    bool follow = false;          // whether the program it starts is followed
    std::shared_ptr<bool> ended = std::make_shared<bool>(false);

private:
    struct Program final : platform::IStartedProgram {
        explicit Program(std::shared_ptr<bool> ended) : ended(std::move(ended)) {}
        bool HasEnded() override { return *ended; }
        std::shared_ptr<bool> ended;
    };
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
        folder_.Write("backup/old.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                                        "\"MenuShowDelay\"=\"250\"\r\n");
        Store("400");
        // The services that TempAppFolder installed, with this test's shell.
        platform::CurrentServices().shell = &shell_;
        backend_.picked = folder_.Path("backup/old.reg");
        dialog_.AttachWindow(&window_);
        EXPECT_TRUE(dialog_.RunInitDialog());
        Tick();
    }

    void Store(const std::string& value)
    {
        ASSERT_TRUE(tree_.SetValue(platform::RegRoot::CurrentUser, kKey, "MenuShowDelay", platform::RegValue::String(value)));
    }
    void Tick()
    {
        toolkit::Message tick{toolkit::MsgKind::Timer, 1};
        dialog_.Dispatch(tick);
    }
    void Activate()
    {
        toolkit::Message activate{toolkit::MsgKind::Activate};
        dialog_.Dispatch(activate);
    }
    std::string Shown() const { return window_.GetItemText(IDC_NUMBER_EDIT); }

    bool Holds(const std::string& value)
    {
        auto held = tree_.QueryValue(platform::RegRoot::CurrentUser, kKey, "MenuShowDelay");
        return held && held.Value() == platform::RegValue::String(value);
    }

    regfile::RegistryTree tree_;
    platform::FixedClock clock_{{2024, 3, 5, 9, 5}};
    TempAppFolder folder_{&tree_, &clock_};
    FakeShell shell_;
    RecordingBackend backend_;
    toolkit::ScopedBackend installed_{backend_};
    toolkit::ModelWindow window_{toolkit::GetDialogTemplate(CTunewrightDlg::IDD), backend_};
    CTunewrightDlg dialog_;
};

} // namespace

// No: nothing changes, and the backup of what the file would have changed
// goes again. Yes: the program restores it, behind a backup of its own.
TEST_F(ReverseChanges, ABackupNoProgramOpensIsOfferedForRestoringInProcess)
{
    const std::string offer = "\"" + folder_.Path("backup/old.reg") +
                              "\" could not be opened: No application is associated with the specified file for this "
                              "operation. Restore it with Tunewright instead?";
    const struct {
        toolkit::Answer answer;
        std::string held, shown;
        std::vector<std::string> backups;
    } cases[] = {
        {toolkit::Answer::No, "400", "1000", {"old.reg"}},
        {toolkit::Answer::Yes, "250", "250", {"backup - 20240305 - 09.05 - restore old.reg", "old.reg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        Store("400");
        Tick();
        backend_.boxes.clear();
        backend_.Answer(c.answer);
        shell_.failure = "No application is associated with the specified file for this operation";
        window_.SetItemText(IDC_NUMBER_EDIT, "1000");
        dialog_.SendCommand(ID_FILE_REVERSE_CHANGES);
        EXPECT_EQ(shell_.opened.back(), folder_.Path("backup/old.reg"));
        ASSERT_GE(backend_.boxes.size(), 2u);
        EXPECT_EQ(backend_.boxes[1], offer);
        EXPECT_TRUE(Holds(c.held));
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(folder_.Entries("backup"), c.backups);
        if (c.answer == toolkit::Answer::Yes) {
            ASSERT_EQ(backend_.boxes.size(), 3u);
            EXPECT_EQ(backend_.boxes[2].rfind("Values changed: 1.", 0), 0u) << backend_.boxes[2];
            EXPECT_NE(folder_.Read("backup/" + c.backups[0]).find("\"MenuShowDelay\"=\"400\""), std::string::npos);
        }
    }
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
    dialog_.SendCommand(toolkit::CancelCommand);
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

// Where the shell follows the registry editor it started, the panel shows
// the imported value as soon as the editor ends, without waiting for the
// window to be active again; a value typed meanwhile stays.
TEST_F(ReverseChanges, TheRegistryEditorsEndShowsTheImportedValue)
{
    shell_.follow = true;
    dialog_.SendCommand(ID_FILE_REVERSE_CHANGES);
    Store("250"); // the registry editor imports
    Tick();
    EXPECT_EQ(Shown(), "400") << "the editor runs still";
    *shell_.ended = true;
    Tick();
    EXPECT_EQ(Shown(), "250");
    // Once: later ticks leave the panel alone.
    Store("300");
    Tick();
    EXPECT_EQ(Shown(), "250");

    *shell_.ended = false;
    dialog_.SendCommand(ID_FILE_REVERSE_CHANGES);
    window_.SetItemText(IDC_NUMBER_EDIT, "1234");
    Store("500");
    *shell_.ended = true;
    Tick();
    EXPECT_EQ(Shown(), "1234");
}
