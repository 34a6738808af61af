// The terminal program's shell imports a chosen registry file itself, after
// asking, and hands everything else to the desktop.
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "regstore/RegImport.h"
#include "regstore/RegistryStore.h"
#include "backends/terminal/ImportingShell.h"

#include <gtest/gtest.h>

namespace {

struct Opened final : platform::IShell {
    platform::ShellResult Open(const std::string& target) override
    {
        targets.push_back(target);
        return {};
    }
    std::vector<std::string> targets;
};

} // namespace

TEST(ImportingShell, ARegistryFileIsImportedWhenTheUserSaysYes)
{
    TempAppFolder folder;
    RecordingBackend backend;
    toolkit::ScopedBackend installed(backend);
    regstore::RegistryStore store(folder.Path("registry.reg"));
    Opened desktop;
    std::vector<std::string> boxes;
    toolkit::Answer answer = toolkit::Answer::No;
    backends::terminal::ImportingShell shell(store, desktop, [&](std::string_view text, toolkit::BoxStyle) {
        boxes.emplace_back(text);
        return answer;
    });
    folder.Write("old.REG", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"V\"=dword:00000007");
    folder.Write("bad.reg", "REGEDIT4\r\n[HKEY_NOWHERE\\X]\r\n");
    const std::string path = folder.Path("old.REG");

    EXPECT_TRUE(shell.Open(path));
    EXPECT_EQ(boxes, std::vector<std::string>{regstore::RegImportQuestion(path)});
    EXPECT_FALSE(store.QueryValue(platform::RegRoot::CurrentUser, "Software\\Test", "V"));

    answer = toolkit::Answer::Yes;
    EXPECT_TRUE(shell.Open(path));
    EXPECT_EQ(boxes.back(), regstore::RegImportDoneText(path));
    const auto value = store.QueryValue(platform::RegRoot::CurrentUser, "Software\\Test", "V");
    ASSERT_TRUE(value);
    EXPECT_EQ(value.Value().data, platform::RegValue::Dword(7).data);

    // A file that cannot be read is reported naming it, and nothing is asked.
    boxes.clear();
    EXPECT_TRUE(shell.Open(folder.Path("bad.reg")));
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_NE(backend.errors[0].find("bad.reg"), std::string::npos) << backend.errors[0];

    EXPECT_TRUE(shell.Open("https://example.org/a.reg.html"));
    EXPECT_TRUE(shell.Open(folder.Path("help.chm")));
    EXPECT_EQ(desktop.targets, (std::vector<std::string>{"https://example.org/a.reg.html", folder.Path("help.chm")}));
}
