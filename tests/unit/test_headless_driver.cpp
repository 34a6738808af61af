// The headless driver's modal boxes: the timer goes on ticking while one
// waits, as it does on Windows, for as many ticks as its queued answer says.
#include "resource.h"
#include "toolkit/Dialog.h"
#include "backends/headless/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace platform;
using namespace toolkit;
using namespace backends::headless;

namespace {

// Each menu command opens one box and notes how many ticks had come by then.
class BoxOpener final : public CDialog {
public:
    BoxOpener() : CDialog(IDD_TUNEWRIGHT_DIALOG) {}
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map = {
            OnTimerMessage(&BoxOpener::OnTick),
            OnCommand(ID_FILE_REVERSE_CHANGES, &BoxOpener::OpenFile),
            OnCommand(ID_FILE_LANGUAGE_SELECTION, &BoxOpener::OpenFolder),
            OnCommand(ID_FILE_EXIT, &BoxOpener::Ask),
        };
        return map;
    }
    bool OnInitDialog() override
    {
        SetTimer(1, 100);
        return true;
    }
    void OnTick(int) { ++ticks; }
    void OpenFile() { Note(Window()->FileOpenDialog({"Any|*.*", ""}).value_or("cancel")); }
    void OpenFolder() { Note(Window()->BrowseForFolder("Where", "").value_or("cancel")); }
    void Ask() { Note(ShowMessageBox("Sure?", "Q", {BoxButtons::YesNo, BoxIcon::Question}) == Answer::No ? "no" : "yes"); }
    void Note(const std::string& result) { seen.push_back(result + " after " + std::to_string(ticks)); }

    int ticks = 0;
    std::vector<std::string> seen;
};

} // namespace

TEST(HeadlessDriver, TicksRunWhileABoxWaitsForItsAnswer)
{
    std::istringstream script("pick /a b/c tick 2\nmenu 32772\npick cancel tick\nmenu 32779\n"
                              "answer no tick 3\nmenu 32771\ntick\nmenu 32771\nclick 2\n");
    std::ostringstream out;
    HeadlessBackend backend(script, out);
    ScopedBackend installed(backend);
    BoxOpener dialog;
    EXPECT_EQ(backend.RunModal(dialog), Answer::Cancel);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"/a b/c after 2", "cancel after 3", "no after 6", "yes after 7"}));
    EXPECT_EQ(backend.Finish(), 0);
    EXPECT_NE(out.str().find("-> \"/a b/c\"\n"), std::string::npos) << out.str();
}

TEST(HeadlessDriver, KeyNamesGiveTheirVirtualKeyAndModifiers)
{
    const struct {
        const char* name;
        std::optional<KeyChord> chord;
    } cases[] = {
        {"F1", KeyChord{0x70}},
        {"F3", KeyChord{0x72}},
        {"f24", KeyChord{0x87}},
        {"Ctrl+F", KeyChord{'F', true}},
        {"ctrl+shift+alt+f", KeyChord{'F', true, true, true}},
        {"Alt+7", KeyChord{'7', false, false, true}},
        {"F0", std::nullopt},
        {"F25", std::nullopt},
        {"F03", std::nullopt},
        {"Ctrl+", std::nullopt},
        {"Hyper+F", std::nullopt},
        {"Ctrl+FF", std::nullopt},
        {"+", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseKeyName(c.name), c.chord) << c.name;
}
