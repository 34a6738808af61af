// The Linux store reads a key section when something needs it: a broken
// section that nothing reads still keeps every change from the file. (The
// Windows driver reads a --registry file whole before it starts.)
#include "e2e/Driver.h"
#include "e2e/Screen.h"

#include <gtest/gtest.h>

#include <algorithm>

using e2e::Grep;
using e2e::Installation;

TEST(RegistryStoreE2E, ABrokenKeyFarFromTheFunctionsIsReportedWhenAChangeIsDueAndTheFileStaysAsItWas)
{
    Installation inst;
    // The first session's close rewrites the sample store as the program
    // writes stores; the companion's marker is put back for the second.
    inst.Run("close\n");
    const std::string marker = "[HKEY_LOCAL_MACHINE\\Software\\Orvelle\\Orvelle Kitbasket]\r\n";
    std::string store = inst.Read("registry.reg");
    ASSERT_NE(store.find(marker), std::string::npos) << store;
    store.insert(store.find(marker) + marker.size(), "\"active\"=\"1\"\r\n");
    store += "\r\n[HKEY_USERS\\Broken]\r\n\"Bad\"=dword:xyz\r\n";
    const std::string line = "line " + std::to_string(std::count(store.begin(), store.end(), '\n'));
    inst.Write("registry.reg", store);

    const auto out = inst.Run("tick\ndump\nselect 1\ntick 2\nclose\n");
    const auto errors = Grep(out, "error ");
    ASSERT_EQ(errors.size(), 1u) << e2e::Join(out);
    EXPECT_NE(errors[0].find("registry.reg"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find(line), std::string::npos) << errors[0];
    const auto shown = std::find(out.begin(), out.end(), "control 1005 shown \"400\"");
    ASSERT_NE(shown, out.end()) << e2e::Join(out);
    EXPECT_LT(shown, std::find(out.begin(), out.end(), errors[0])) << "reading the functions needs no broken key";
    EXPECT_EQ(inst.Read("registry.reg"), store);
}
