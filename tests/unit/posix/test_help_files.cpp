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

// The German pages write their letters beyond ASCII as "&#228;", which the
// text holds as its Windows-1252 byte (the same as Latin-1 for them).
std::string Decoded(const std::string& html)
{
    static const std::regex entity("&#([0-9]+);");
    std::string out;
    auto from = html.cbegin();
    for (std::sregex_iterator e(html.begin(), html.end(), entity), end; e != end; ++e) {
        out.append(from, html.cbegin() + e->position());
        out += static_cast<char>(std::stoi((*e)[1]));
        from = html.cbegin() + e->position() + e->length();
    }
    return out.append(from, html.cend());
}

} // namespace

// The help exists in each language of the sample translation file, every
// page in each: help.chm and help.txt in English, help1031.* in German.
TEST(HelpFiles, TheBuildCompilesEveryPageIntoTheChmAndTheText)
{
    struct Language {
        const char* folder;
        const char* stem;
        const char* definition; // a definition under its term
    };
    const Language languages[] = {
        {"", "help", "      Shows this help.\r\n"},
        {"de", "help1031", "      Zeigt diese Hilfe.\r\n"},
    };
    for (const Language& language : languages) {
        SCOPED_TRACE(language.stem);
        const std::string chm = ReadAll(fs::path(TW_HELP_DIR) / (std::string(language.stem) + ".chm"));
        EXPECT_EQ(chm.substr(0, 4), "ITSF") << "a compiled HTML help file";
        // Each heading follows a line end, the first one the start of the file.
        const std::string text = "\r\n" + ReadAll(fs::path(TW_HELP_DIR) / (std::string(language.stem) + ".txt"));
        const fs::path sources = fs::path(TW_SOURCE_DIR) / "help" / language.folder;
        const std::string project = ReadAll(sources / "tunewright.hhp");
        const std::regex page(R"(\n([a-z]+\.html)\r?(?=\n|$))");
        const std::regex heading("<h([12])>([^<]*)</h[12]>");
        std::size_t at = 0;
        int pages = 0;
        for (std::sregex_iterator p(project.begin(), project.end(), page), end; p != end; ++p, ++pages) {
            const std::string html = ReadAll(sources / (*p)[1].str());
            for (std::sregex_iterator h(html.begin(), html.end(), heading); h != end; ++h) {
                const std::string title = Decoded((*h)[2]);
                const std::string underlined =
                    "\r\n" + title + "\r\n" + std::string(title.size(), (*h)[1] == "1" ? '=' : '-') + "\r\n";
                const std::size_t found = text.find(underlined, at);
                EXPECT_NE(found, std::string::npos) << title << " of " << (*p)[1] << ", in order";
                at = found == std::string::npos ? at : found;
            }
        }
        EXPECT_EQ(pages, 6);
        EXPECT_NE(text.find(language.definition), std::string::npos) << "a definition under its term";
    }
}
