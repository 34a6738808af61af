// Whatever the registry held, importing the backup that a save wrote gives
// back every value as it was before the save, every byte of it, and leaves
// only the keys the save created, which the backup names: random prior states
// for every kind that stores a value, saved through the real dialog.
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "app/TunewrightDlg.h"
#include "toolkit/Resources.h"
#include "toolkit/model/ModelWindow.h"
#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace saving;
using namespace util;
using namespace app;
using namespace catalogue;
using namespace i18n;

namespace {

namespace fs = std::filesystem;

// Every kind that stores a value, with the default value, a quote and a
// backslash, Windows-1252 letters as value names.
constexpr const char* kHeaders[] = {"0110", "0210", "0310", "0510", "0610", "0710", "0810", "0910", "1010"};
const std::string kValueNames[] = {"", "Q\"uo\\te", "\xE9t\xE9"};
constexpr int kFunctions = 27;

// Every key and value with its type and raw bytes: independent of the
// value-line writer that both the store and the backups use.
std::string Contents(const regfile::RegistryTree& tree)
{
    std::string out;
    tree.ForEachKey([&out](platform::RegRoot root, const std::string& path, const regfile::RegistryTree::KeyView& key) {
        out += std::to_string(static_cast<int>(root)) + "[" + path + "]\n";
        for (const auto& [name, value] : key.values) {
            out += name + "=" + std::to_string(static_cast<int>(value.type)) + ":";
            out.append(value.data.begin(), value.data.end());
            out += "\n";
        }
    });
    return out;
}

// The key of a backup's first "; created by this change: [KEY]" line; empty
// when the save created no key.
std::string OutermostCreatedKey(const std::string& backup)
{
    const std::string mark = "; created by this change: [";
    const std::size_t at = backup.find(mark);
    if (at == std::string::npos)
        return std::string();
    const std::size_t begin = at + mark.size();
    return backup.substr(begin, backup.find(']', begin) - begin);
}

platform::RegRoot RootOf(const std::string& key)
{
    return key.starts_with("HKEY_LOCAL_MACHINE\\") ? platform::RegRoot::LocalMachine : platform::RegRoot::CurrentUser;
}

class SaveBackup : public ::testing::Test {
protected:
    SaveBackup()
    {
        std::string catalogue, translation = "[1033]\n00005 Caption\n00100 Saved\n00105 -\n00110 -\n";
        for (int i = 0; i < kFunctions; ++i) {
            const std::string key = std::to_string(10000 + 10 * i), stem = key.substr(0, 4);
            const std::string header = kHeaders[i / 3];
            catalogue += key + " " + header + "\n" + stem + "1 " + (i % 2 ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER") +
                         "\\\\Software\\\\P" + std::to_string(i) + "\\\\Q\\\\R\n" + stem + "2 " + kValueNames[i % 3] +
                         "\n" + stem + "3 0\n" + stem + "4 5000\n"; // bounds, or the extension, or ignored
            translation += key + " Function " + std::to_string(i) + "\n";
        }
        folder_.Write("config.ini", "Product ID\n0019\nLanguage\n[1033]\n");
        folder_.Write("0019trl.ini", translation + "10270 End of functions\n[EOL]\n");
        folder_.Write("0019fct.ini", catalogue);
        fs::create_directory(folder_.Folder() / "backup");
        dialog_.AttachWindow(&window_);
    }

    std::size_t Below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_); }

    std::string RandomText()
    {
        static const std::string kAlphabet = std::string("ab \"\\\r\n%\xE4\xFF\x80") + '\0';
        std::string text(Below(30), 'x');
        for (char& c : text)
            c = kAlphabet[Below(kAlphabet.size())];
        return text;
    }

    std::vector<std::uint8_t> RandomBytes(std::size_t maxLength)
    {
        std::vector<std::uint8_t> bytes(Below(maxLength + 1));
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(rng_());
        return bytes;
    }

    // Any value shape a registry may hold, whoever wrote it: text with its
    // terminator, without it or with an inner zero, 32 random bits, odd-sized
    // DWORDs, other types with any bytes (long ones wrap in the file).
    platform::RegValue RandomValue()
    {
        using T = platform::RegType;
        switch (Below(7)) {
        case 0: {
            platform::RegValue v = platform::RegValue::String(RandomText());
            if (Below(4) == 0)
                v.data.pop_back();
            return v;
        }
        case 1: return platform::RegValue::Dword(static_cast<std::uint32_t>(rng_()));
        case 2: return {T::Dword, RandomBytes(8)};
        case 3: return {T::Binary, RandomBytes(120)};
        case 4: return {T::Qword, RandomBytes(8)};
        default: return {static_cast<T>(Below(16)), RandomBytes(60)}; // REG_EXPAND_SZ, REG_MULTI_SZ, ...
        }
    }

    // The key missing from P, Q or R down, the value missing, or a value.
    std::string SetPriorState(int i, const std::string& name)
    {
        const auto root = i % 2 ? platform::RegRoot::LocalMachine : platform::RegRoot::CurrentUser;
        const std::string keys[] = {"Software", "Software\\P" + std::to_string(i), "Software\\P" + std::to_string(i) + "\\Q",
                                    "Software\\P" + std::to_string(i) + "\\Q\\R"};
        static_cast<void>(tree_.DeleteKey(root, keys[1]));
        const std::size_t shape = Below(5);
        if (shape < 3) {
            static_cast<void>(tree_.SetValue(root, keys[shape], "neighbour", platform::RegValue::String("n")));
            return "keys missing below " + keys[shape];
        }
        static_cast<void>(tree_.CreateKey(root, keys[3]));
        if (shape == 3)
            return "value missing";
        const platform::RegValue value = RandomValue();
        static_cast<void>(tree_.SetValue(root, keys[3], name, value));
        return "type " + std::to_string(static_cast<int>(value.type)) + ", " + std::to_string(value.data.size()) + " bytes";
    }

    std::mt19937 rng_{20240305};
    regfile::RegistryTree tree_;
    platform::FixedClock clock_{platform::LocalTime{2024, 3, 5, 9, 5}};
    TempAppFolder folder_{&tree_, &clock_, FastFolder()};
    RecordingBackend backend_;
    toolkit::ScopedBackend installed_{backend_};
    toolkit::ModelWindow window_{toolkit::GetDialogTemplate(CTunewrightDlg::IDD), backend_};
    CTunewrightDlg dialog_;
};

} // namespace

TEST_F(SaveBackup, ImportingTheBackupRestoresTheRegistryExactly)
{
    ASSERT_TRUE(dialog_.RunInitDialog());
    int mismatches = 0;
    for (int n = 0; n < 3000 && mismatches < 5; ++n) {
        const int i = static_cast<int>(Below(kFunctions));
        const std::string what = "case " + std::to_string(n) + ", header " + kHeaders[i / 3] + ", " +
                                 SetPriorState(i, kValueNames[i % 3]);
        const std::string before = Contents(tree_);
        window_.ClickListItem(IDC_FUNCTION_LIST, i);
        toolkit::Message tick{toolkit::MsgKind::Timer, 1};
        dialog_.Dispatch(tick);
        // Any new value: what lands in the registry is checked end to end.
        const std::size_t radio = Below(3);
        window_.SetCheck(1002, radio == 0);
        window_.SetCheck(1003, radio == 1);
        window_.SetItemText(1005, std::to_string(Below(5001)));
        window_.SetItemText(1006, "new \"path\"");
        backend_.boxes.clear();
        dialog_.SendCommand(IDC_SAVE_BUTTON);

        std::vector<fs::path> backups(fs::directory_iterator(folder_.Folder() / "backup"), fs::directory_iterator());
        if (backups.size() != 1 || backend_.boxes != std::vector<std::string>{"Saved\n\n-\n\n-"}) {
            ADD_FAILURE() << what << ": " << backups.size() << " backups, " << backend_.boxes.size() << " boxes";
            ++mismatches;
            continue;
        }
        const std::string text = folder_.Read("backup/" + backups[0].filename().string());
        fs::remove(backups[0]);
        const auto document = regfile::ParseRegFile(text, "backup");
        const bool applied = document && regfile::ApplyRegFile(document.Value(), tree_, regfile::RegFileComments::Drop);
        // The keys the save created stay, and the backup names them: without
        // the outermost one and what lies below it, the registry is as before.
        if (const std::string created = OutermostCreatedKey(text); !created.empty())
            static_cast<void>(tree_.DeleteKey(RootOf(created), created.substr(created.find('\\') + 1)));
        if (!applied || Contents(tree_) != before) {
            ADD_FAILURE() << what << ": importing the backup does not restore the registry:\n" << text;
            ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(backend_.errors.empty());
}
