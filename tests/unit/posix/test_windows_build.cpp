// What a win32 build needs of the shared sources, checked with the mingw-w64
// cross tools where they are installed: every shared header compiles after
// <windows.h> and declares no name that the Windows headers define as a
// macro, and the resource script compiles with a real resource compiler.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

const char* const kCompiler = "x86_64-w64-mingw32-g++-posix";
const char* const kWindres = "x86_64-w64-mingw32-windres";
const fs::path kSource = TW_SOURCE_DIR;

// The folders that every platform's build compiles, as the build lists them.
const char* const kPortableFolders = TW_PORTABLE_FOLDERS;
// The folder of the JSON library's headers, as the Windows build finds them.
const char* const kJsonIncludes = TW_JSON_INCLUDE;

const char* const kWindowsIncludes = "#include <windows.h>\n#include <commctrl.h>\n#include <commdlg.h>\n"
                                     "#include <shellapi.h>\n#include <shlobj.h>\n";
const char* const kStandardIncludes = "#include <cerrno>\n#include <climits>\n#include <cstdint>\n"
                                      "#include <cstdio>\n#include <cstdlib>\n#include <cstring>\n#include <ctime>\n"
                                      "#include <string>\n#include <vector>\n";

bool Installed(const char* program)
{
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

struct CommandRun {
    int status;
    std::string output; // standard output and error
};

CommandRun Execute(const std::string& command)
{
    struct Closer {
        void operator()(std::FILE* f) const { pclose(f); }
    };
    std::string output;
    std::unique_ptr<std::FILE, Closer> pipe(popen((command + " 2>&1").c_str(), "r"));
    if (!pipe)
        return {-1, "cannot run " + command};
    std::array<char, 4096> buffer{};
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        output.append(buffer.data(), count);
    return {pclose(pipe.release()), output};
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tunewright-win-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    fs::path Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return path_ / name;
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

std::vector<std::string> SharedHeaders()
{
    std::vector<std::string> headers;
    std::istringstream folders(kPortableFolders);
    for (std::string folder; std::getline(folders, folder, ',');)
        for (const auto& entry : fs::directory_iterator(kSource / folder))
            if (entry.path().extension() == ".h")
                headers.push_back(folder + "/" + entry.path().filename().string());
    std::sort(headers.begin(), headers.end());
    return headers;
}

// The macro names that a preprocessed text defines.
std::set<std::string> MacroNames(const ScratchFolder& scratch, const std::string& name, const std::string& text)
{
    const CommandRun run = Execute(std::string(kCompiler) + " -std=c++20 -dM -E -x c++ " + scratch.Write(name, text).string());
    EXPECT_EQ(run.status, 0) << run.output;
    std::set<std::string> names;
    std::istringstream lines(run.output);
    std::string define, macro;
    while (lines >> define >> macro) {
        names.insert(macro.substr(0, macro.find('(')));
        std::getline(lines, define);
    }
    return names;
}

// The identifiers of a source text, comments and literals left out.
std::set<std::string> Identifiers(const std::string& text)
{
    std::set<std::string> words;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i);
        } else if (text.compare(i, 2, "/*") == 0) {
            i = text.find("*/", i);
            i = i == std::string::npos ? i : i + 2;
        } else if (c == '"' || c == '\'') {
            for (++i; i < text.size() && text[i] != c; ++i)
                i += text[i] == '\\' ? 1 : 0;
            ++i;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            const std::size_t start = i;
            while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_'))
                ++i;
            words.insert(text.substr(start, i - start));
        } else {
            ++i;
        }
        if (i == std::string::npos)
            break;
    }
    return words;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(WindowsBuild, SharedHeadersCoexistWithTheWindowsHeaders)
{
    if (!Installed(kCompiler))
        GTEST_SKIP() << kCompiler << " is not installed";
    ScratchFolder scratch;
    const std::vector<std::string> headers = SharedHeaders();
    ASSERT_FALSE(headers.empty());

    std::string unit = std::string(kWindowsIncludes) + "#include \"resource.h\"\n";
    for (const std::string& header : headers)
        unit += "#include \"" + header.substr(4) + "\"\n";
    const CommandRun compile = Execute(std::string(kCompiler) + " -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I" +
                                (kSource / "src").string() + " -I" + (kSource / "res").string() + " -isystem " +
                                kJsonIncludes + " " +
                                scratch.Write("all_headers.cpp", unit).string());
    EXPECT_EQ(compile.status, 0) << compile.output;

    // A macro that renames a method compiles without a word; it is caught here.
    std::set<std::string> windowsMacros = MacroNames(scratch, "windows.cpp", kWindowsIncludes);
    for (const std::string& standard : MacroNames(scratch, "standard.cpp", kStandardIncludes))
        windowsMacros.erase(standard);
    for (const std::string& header : headers)
        for (const std::string& word : Identifiers(ReadAll(kSource / header)))
            EXPECT_EQ(windowsMacros.count(word), 0u) << header << " declares " << word << ", a macro of <windows.h>";
}

TEST(WindowsBuild, ResourceScriptCompilesWithWindres)
{
    if (!Installed(kWindres))
        GTEST_SKIP() << kWindres << " is not installed";
    ScratchFolder scratch;
    const fs::path res = kSource / "res";
    const CommandRun run = Execute(std::string(kWindres) + " -I" + res.string() + " " + (res / "tunewright.rc").string() +
                            " -O coff -o " + (scratch.Path() / "tunewright.res").string());
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_GT(fs::file_size(scratch.Path() / "tunewright.res"), 0u);
}
