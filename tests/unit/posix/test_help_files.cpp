// The help the build makes from help/: a compiled help.chm, and help.txt for
// the terminal with every page of the help project, in its order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(HelpFiles, TheBuildCompilesEveryPageIntoTheChmAndTheText)
{
    const std::string chm = ReadAll(fs::path(TW_HELP_DIR) / "help.chm");
    EXPECT_EQ(chm.substr(0, 4), "ITSF") << "a compiled HTML help file";
    // Each heading follows a line end, the first one the start of the file.
    const std::string text = "\r\n" + ReadAll(fs::path(TW_HELP_DIR) / "help.txt");
    const fs::path sources = fs::path(TW_SOURCE_DIR) / "help";
    const std::string project = ReadAll(sources / "tunewright.hhp");
    const std::regex page(R"(\n([a-z]+\.html)\r?(?=\n|$))");
    const std::regex heading("<h([12])>([^<]*)</h[12]>");
    std::size_t at = 0;
    int pages = 0;
    for (std::sregex_iterator p(project.begin(), project.end(), page), end; p != end; ++p, ++pages) {
        const std::string html = ReadAll(sources / (*p)[1].str());
        for (std::sregex_iterator h(html.begin(), html.end(), heading); h != end; ++h) {
            const std::string title = (*h)[2];
            const std::string underlined =
                "\r\n" + title + "\r\n" + std::string(title.size(), (*h)[1] == "1" ? '=' : '-') + "\r\n";
            const std::size_t found = text.find(underlined, at);
            EXPECT_NE(found, std::string::npos) << title << " of " << (*p)[1] << ", in order";
            at = found == std::string::npos ? at : found;
        }
    }
    EXPECT_EQ(pages, 5);
    EXPECT_NE(text.find("      Shows this help.\r\n"), std::string::npos) << "a definition under its term";
}
