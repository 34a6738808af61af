// Texts beyond the program's code page, through the real main dialog: a
// registry value the code page cannot hold is shown as it is and is not
// saved back until the user replaces it; a typed text with such characters
// is refused by name; nothing is written either time.
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"
#include "unit/Utf16Bytes.h"

#include "app/TunewrightDlg.h"
#include "app/history/HistoryDlg.h"
#include "backup/BackupBytes.h"
#include "cli/CommandLine.h"
#include "platform/SystemText.h"
#include "regfile/RegistryTree.h"
#include "toolkit/Resources.h"
#include "toolkit/model/ModelWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace saving;
using namespace util;
using namespace app;
using namespace changes;
using namespace catalogue;
using namespace i18n;

namespace {

namespace fs = std::filesystem;

const std::u16string kLodz = u"\u0141\u00F3d\u017A"; // "Łódź"
const std::string kLodzInCodePage = "?\xF3" "d?";
#ifdef _WIN32
constexpr const char* kLineEnd = "\r\n";
#else
constexpr const char* kLineEnd = "\n";
#endif

// The store holds a text beyond the code page as Windows reads it narrow,
// with '?' for the characters it lacks; its exact read gives the text wide.
// A broken store fails the exact read.
class WideRegistry final : public platform::IRegistry {
public:
    regfile::RegistryTree tree;
    std::optional<platform::RegFault> broken;

    platform::Result<platform::RegValue, platform::RegFault> QueryValue(platform::RegRoot root, std::string_view subKey,
                                                                        std::string_view name) override
    {
        return tree.QueryValue(root, subKey, name);
    }
    platform::Result<platform::ExactRegValue, platform::RegFault> QueryExactValue(platform::RegRoot root, std::string_view subKey,
                                                                                  std::string_view name) override
    {
        if (broken)
            return *broken;
        auto value = QueryValue(root, subKey, name);
        if (!value || value.Value().data != platform::RegValue::String(kLodzInCodePage).data)
            return IRegistry::QueryExactValue(root, subKey, name);
        return platform::ExactRegValue{{platform::RegType::Sz, Utf16Bytes(kLodz)}, true};
    }
    platform::RegResult SetValue(platform::RegRoot root, std::string_view subKey, std::string_view name,
                                 const platform::RegValue& value) override
    {
        return tree.SetValue(root, subKey, name, value);
    }
    platform::RegResult DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name) override
    {
        return tree.DeleteValue(root, subKey, name);
    }
    platform::Result<bool, platform::RegFault> DeleteEmptyKey(platform::RegRoot root, std::string_view subKey) override
    {
        return tree.DeleteEmptyKey(root, subKey);
    }
};

std::string Utf16Le(std::string_view ascii)
{
    std::string bytes;
    for (const char c : ascii)
        bytes += {c, '\0'};
    return bytes;
}

class ForeignText : public ::testing::Test {
protected:
    ForeignText()
    {
        folder_.Write("config.ini", "Product ID\n0019\nLanguage\n[1033]\n");
        folder_.Write("0019trl.ini", "[1033]\n00005 Caption\n00100 Saved\n00105 -\n00110 -\n10000 Registered owner\n"
                                     "10010 End of functions\n[EOL]\n");
        folder_.Write("0019fct.ini", "10000 0610\n10001 HKEY_CURRENT_USER\\\\Software\\\\Test\n10002 Owner\n");
        fs::create_directory(folder_.Folder() / "backup");
        static_cast<void>(
            registry_.tree.SetValue(platform::RegRoot::CurrentUser, "Software\\Test", "Owner",
                                    platform::RegValue::String(kLodzInCodePage)));
        dialog_.AttachWindow(&window_);
    }
    ~ForeignText() override { dialog_.AttachWindow(nullptr); }

    void Tick()
    {
        toolkit::Message tick{toolkit::MsgKind::Timer, 1};
        dialog_.Dispatch(tick);
    }
    std::string Owner()
    {
        const auto value = registry_.tree.QueryValue(platform::RegRoot::CurrentUser, "Software\\Test", "Owner");
        return std::string(value.Value().data.begin(), value.Value().data.end() - 1);
    }
    std::size_t Backups() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_.Folder() / "backup"),
                                                      fs::directory_iterator()));
    }

    WideRegistry registry_;
    platform::FixedClock clock_{platform::LocalTime{2024, 3, 5, 9, 5}};
    TempAppFolder folder_{&registry_, &clock_};
    RecordingBackend backend_;
    toolkit::ScopedBackend installed_{backend_};
    toolkit::ModelWindow window_{toolkit::GetDialogTemplate(CTunewrightDlg::IDD), backend_};
    CTunewrightDlg dialog_;
};

} // namespace

TEST_F(ForeignText, ARegistryTextIsShownAsItIsAndSavedOnlyOnceReplaced)
{
    ASSERT_TRUE(dialog_.RunInitDialog());
    window_.ClickListItem(IDC_FUNCTION_LIST, 0);
    Tick();
    Tick();
    EXPECT_EQ(window_.GetItemText(IDC_PATH_EDIT), kLodzInCodePage);
    EXPECT_EQ(window_.ItemForeignCharacters(IDC_PATH_EDIT), U"\u0141\u017A") << "still shown as the registry holds it";

    dialog_.SendCommand(IDC_SAVE_BUTTON);
    ASSERT_EQ(backend_.boxes.size(), 1u);
    EXPECT_EQ(backend_.boxes[0], "Nothing was saved: the text \"" + kLodzInCodePage +
                                     "\" holds characters that this program cannot keep (U+0141, U+017A); here they "
                                     "show as \"?\". Replace them and save again.");
    EXPECT_EQ(Backups(), 0u);
    EXPECT_EQ(Owner(), kLodzInCodePage);

    window_.SetItemText(IDC_PATH_EDIT, "Lodz");
    Tick();
    dialog_.SendCommand(IDC_SAVE_BUTTON);
    EXPECT_EQ(backend_.boxes.back(), "Saved\n\n-\n\n-");
    EXPECT_EQ(Owner(), "Lodz");
    EXPECT_EQ(Backups(), 1u);
}

TEST_F(ForeignText, ATypedTextWithCharactersTheCodePageLacksIsRefusedByName)
{
    ASSERT_TRUE(dialog_.RunInitDialog());
    window_.ClickListItem(IDC_FUNCTION_LIST, 0);
    Tick();
    window_.SetItemWideText(IDC_PATH_EDIT, u"\u0141ukasz \u03A9mega \u00E9");
    Tick();
    dialog_.SendCommand(IDC_SAVE_BUTTON);
    ASSERT_EQ(backend_.boxes.size(), 1u);
    EXPECT_NE(backend_.boxes[0].find("\"?ukasz ?mega \xE9\" holds characters that this program cannot keep "
                                     "(U+0141, U+03A9)"),
              std::string::npos)
        << backend_.boxes[0];
    EXPECT_EQ(Owner(), kLodzInCodePage);
    EXPECT_EQ(Backups(), 0u);
}

// The command line prints the registry's text, not the panel's "?" form:
// text and JSON in UTF-8, and a profile in the registry editor's version 5,
// its UTF-16LE.
TEST_F(ForeignText, TheCommandLinePrintsTheRegistrysTextExactly)
{
    const std::string lodz = "\xC5\x81\xC3\xB3" "d\xC5\xBA";
    struct Case {
        std::vector<std::string> args;
        std::string printed;
    };
    const Case cases[] = {
        {{"get", "10000"}, "10000\tRegistered owner\t" + lodz + kLineEnd},
        {{"list"}, "10000\tRegistered owner\t" + lodz + kLineEnd},
        {{"--json", "get", "10000"}, "\"value\": \"" + lodz + "\""},
        {{"--json", "list"}, "\"shown\": \"" + lodz + "\""},
        {{"export", "10000"}, Utf16Le("\"Owner\"=hex(1):41,01,f3,00,64,00,7a,01,00,00\r\n")},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        std::ostringstream err;
        const cli::Host host{folder_.Folder().string(),
                             [this](const std::string&, const std::string&) -> platform::IRegistry& { return registry_; },
                             out, err};
        EXPECT_EQ(cli::RunCommandLine(c.args, host), cli::kDone) << err.str();
        EXPECT_NE(out.str().find(c.printed), std::string::npos) << c.args[0] << ": " << out.str();
    }
}

// The history box lists a version 5 backup's text as its characters beside
// the registry's; a store that cannot be read is told by its own words, not
// only shown as unreadable.
TEST_F(ForeignText, TheHistoryListsTextAsItsCharactersAndTellsWhyTheStoreCannotBeRead)
{
    const platform::ExactRegValue held{{platform::RegType::Sz, Utf16Bytes(u"\u0141\u00F3d\u017A \u03A9mega")}, true};
    folder_.Write("backup/backup - 20240305 - 09.05 - Registered owner.reg",
                  backup::FileBytes({{platform::ShareKey({platform::RegRoot::CurrentUser, "Software\\Test"}), "Owner", held, {}}}, {},
                                    backup::Layout::OneValue));
    const std::string storeFault = "the registry store \"/x/registry.reg\" cannot be read: line 5";
    const struct {
        bool broken;
        std::u16string now;
        std::vector<std::string> told;
    } cases[] = {
        {false, u"\"\u0141\u00F3d\u017A\"", {}},
        {true, u"(cannot be read)", {storeFault}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.broken);
        if (c.broken)
            registry_.broken = platform::RegFault{platform::RegError::StoreBroken, storeFault};
        std::vector<std::string> told;
        CHistoryDlg box(folder_.Folder().string(), [] {}, [&told](const platform::RegFault& f) { told.push_back(f.cause); });
        toolkit::ModelWindow window{toolkit::GetDialogTemplate(CHistoryDlg::IDD), backend_};
        box.AttachWindow(&window);
        ASSERT_TRUE(box.RunInitDialog());
        EXPECT_EQ(window.ListItemWideText(IDC_HISTORY_LIST, 0, 2), u"\"\u0141\u00F3d\u017A \u03A9mega\"");
        EXPECT_EQ(window.ListItemText(IDC_HISTORY_LIST, 0, 2), "\"?\xF3" "d? ?mega\"");
        EXPECT_EQ(window.ListItemWideText(IDC_HISTORY_LIST, 0, 3), c.now);
        EXPECT_EQ(told, c.told);
        box.AttachWindow(nullptr);
    }
}

TEST(SystemText, CharactersTheCodePageLacksBecomeQuestionMarksAndAreNamedOnce)
{
    const platform::CodePageText text = platform::FromUtf16(u"\u0141\u00F3d\u017A \u0141 \U0001F600 \u20AC\xD800x");
    EXPECT_EQ(text.text, "?\xF3" "d? ? ? \x80?x");
    EXPECT_EQ(text.foreign, U"\u0141\u017A\U0001F600\xD800");
    EXPECT_EQ(platform::NameCharacters(text.foreign), "U+0141, U+017A, U+1F600, U+D800");
    EXPECT_EQ(platform::ToUtf16("caf\xE9 \x80"), u"caf\u00E9 \u20AC");
    EXPECT_TRUE(platform::FromUtf16(u"caf\u00E9").foreign.empty());

    // A registry value's wide form: a last odd byte has no unit.
    const std::vector<std::uint8_t> wide = {0x41, 0x01, 0x00, 0x00, 0x78, 0x00, 0x7A};
    EXPECT_EQ(platform::DecodeUtf16Le(wide), std::u16string(u"\u0141\0x", 3));
    EXPECT_EQ(platform::DecodeUtf16Le(wide, platform::ZeroUnit::Ends), u"\u0141");
}
