// The registry store as the program meets it: where it lies, and what a
// store that cannot be read does to a session and to a command.
#include "e2e/Driver.h"
#include "e2e/Screen.h"

#include <gtest/gtest.h>

using e2e::Contains;
using e2e::Grep;
using e2e::Installation;

namespace {

const std::string kDelay = "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=";

} // namespace

TEST(RegistryStoreE2E, TheStoreIsTheNamedFileElseTheOneBesideTheProgram)
{
    Installation inst;
    inst.Write("registry.reg", "REGEDIT4\r\n\r\n" + kDelay + "\"111\"\r\n");
    inst.Write("other.reg", "REGEDIT4\r\n\r\n" + kDelay + "\"222\"\r\n");

    EXPECT_TRUE(Contains(inst.Run("tick\ndump\nclick 2\n"), "control 1005 shown \"111\""));
    EXPECT_TRUE(Contains(inst.Run("tick\ndump\nclick 2\n", "--registry " + e2e::Quote(inst.File("other.reg"))),
                         "control 1005 shown \"222\""));
}

TEST(RegistryStoreE2E, ABrokenStoreIsReportedOnceAndNeverRewritten)
{
    struct Case {
        const char* what;
        std::string text; // the store's bytes; empty: a folder in its place
        std::string fault;
    };
    const std::vector<Case> cases = {
        // Of a key only the value asked for is parsed: here the panel's.
        {"a fault in a key", "REGEDIT4\r\n\r\n" + kDelay + "\"400\"\r\n\"menushowdelay\"=dword:xyz\r\n", "line 5"},
        {"a fault in the first line", "REGEDIT5\r\n\r\n" + kDelay + "\"400\"\r\n", "line 1"},
        {"a folder", "", "is not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Installation inst;
        if (c.text.empty()) {
            std::filesystem::remove(inst.Registry());
            std::filesystem::create_directory(inst.Registry());
        } else {
            inst.Write("registry.reg", c.text);
        }

        // Start-up reads EnableLUA, the first tick the panel's value, and
        // close tries to delete the marker: one report, and the file stays
        // as it was.
        const auto out = inst.Run("tick 3\nselect 1\ntick 2\ndump\nclose\n");
        const auto errors = Grep(out, "error ");
        ASSERT_EQ(errors.size(), 1u) << e2e::Join(out);
        EXPECT_NE(errors[0].find("registry.reg"), std::string::npos) << errors[0];
        EXPECT_NE(errors[0].find(c.fault), std::string::npos) << errors[0];
        EXPECT_TRUE(Grep(out, "msgbox").empty()) << "no EnableLUA can be read";
        EXPECT_EQ(out.back(), "ended IDCANCEL");
        if (!c.text.empty())
            EXPECT_EQ(inst.Read("registry.reg"), c.text);

        // The command line: one message, naming the fault, and its status.
        inst.Write("backup/backup - 20240305 - 09.05 - Menu delay.reg", "REGEDIT4\r\n\r\n" + kDelay + "\"100\"\r\n");
        for (const char* command : {"get 10000", "set 10000 500", "history"}) {
            const e2e::Outcome cli = inst.RunCli(command);
            EXPECT_EQ(cli.status, 1) << command;
            const auto first = cli.errors.find("tunewright-cli: ");
            EXPECT_EQ(cli.errors.find("tunewright-cli: ", first + 1), std::string::npos) << cli.errors;
            EXPECT_NE(cli.errors.find(c.fault), std::string::npos) << cli.errors;
        }
    }
}

TEST(RegistryStoreE2E, AStoreMadeFromAnExportKeepsEveryRootAndCommentWhenChanged)
{
    Installation inst;
    const std::string classes = "; exported by hand\r\n[HKEY_CLASSES_ROOT\\.reg]\r\n@=\"regfile\"\r\n";
    const std::string users = "[HKEY_USERS\\.DEFAULT\\Control Panel\\Desktop]\r\n\"MenuShowDelay\"=\"100\"\r\n";
    const std::string config = "[HKEY_CURRENT_CONFIG\\Software]\r\n";
    inst.Write("registry.reg", "REGEDIT4\r\n\r\n" + classes + "\r\n" + users + "\r\n" + kDelay + "\"111\"\r\n"
                                   "\r\n[HKEY_LOCAL_MACHINE\\Software\\Orvelle\\Orvelle Kitbasket]\r\n\"active\"=\"1\"\r\n"
                                   "\r\n" + config);

    // Closing removes the companion's marker: the one change written.
    const auto out = inst.Run("tick\ndump\nclose\n");
    EXPECT_TRUE(Contains(out, "control 1005 shown \"111\"")) << e2e::Join(out);
    EXPECT_TRUE(Grep(out, "error ").empty()) << e2e::Join(out);
    const std::string after = inst.Read("registry.reg");
    EXPECT_EQ(after.find("\"active\""), std::string::npos) << after;
    for (const std::string& kept : {classes, users, config})
        EXPECT_NE(after.find("\r\n\r\n" + kept), std::string::npos) << kept;
}

TEST(RegistryStoreE2E, AReadOnlyStoreIsNotChangedAndTheUserIsTold)
{
    Installation inst;
    const std::string before = inst.Read("registry.reg");
    std::filesystem::permissions(inst.Registry(), std::filesystem::perms::owner_read | std::filesystem::perms::group_read
                                                      | std::filesystem::perms::others_read);

    const auto out = inst.Run("tick\nclose\n");
    const auto errors = Grep(out, "error ");
    ASSERT_EQ(errors.size(), 1u) << e2e::Join(out);
    EXPECT_NE(errors[0].find("could not be deleted: the registry store \\\"" + e2e::Escape(inst.Registry()) +
                             "\\\" is read-only"),
              std::string::npos)
        << errors[0];
    EXPECT_EQ(out.back(), "ended IDCANCEL");
    EXPECT_EQ(inst.Read("registry.reg"), before);
}

TEST(RegistryStoreE2E, WithoutAStoreASessionLeavesNoFileBehind)
{
    Installation inst;
    std::filesystem::remove(inst.Registry());
    EXPECT_EQ(inst.Run("tick\nselect 1\ntick 2\nclose\n").back(), "ended IDCANCEL");
    EXPECT_FALSE(std::filesystem::exists(inst.Registry()));
    EXPECT_FALSE(std::filesystem::exists(inst.File("registry.reg.lock")));
}
