// The source folders form layers: no include runs from a folder to one that
// includes it back, however long the way round, and nothing below the user
// interfaces includes one of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// "backends/terminal/Screen.h" -> "backends/terminal"; "platform/posix/X.h"
// -> "platform": a platform's folder is part of its library.
std::string FolderOf(const std::string& path)
{
    const std::string first = path.substr(0, path.find('/'));
    if (first == "backends")
        return path.substr(0, path.find('/', first.size() + 1));
    return first;
}

std::map<std::string, std::set<std::string>> FolderIncludes()
{
    const fs::path src = fs::path(TW_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+/[^"]+)")re");
    std::map<std::string, std::set<std::string>> graph;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file() || (entry.path().extension() != ".h" && entry.path().extension() != ".cpp"))
            continue;
        const std::string from = FolderOf(fs::relative(entry.path(), src).generic_string());
        std::ifstream in(entry.path());
        std::smatch match;
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, match, include) && FolderOf(match[1]) != from)
                graph[from].insert(FolderOf(match[1]));
    }
    return graph;
}

} // namespace

TEST(Layering, FolderIncludesFormNoCycleAndNoneReachesUpToABackend)
{
    const auto graph = FolderIncludes();
    ASSERT_TRUE(graph.count("app"));
    std::map<std::string, int> state; // 1: on the current path, 2: done
    std::vector<std::string> path;
    const std::function<void(const std::string&)> visit = [&](const std::string& folder) {
        state[folder] = 1;
        path.push_back(folder);
        if (const auto found = graph.find(folder); found != graph.end())
            for (const std::string& next : found->second) {
                if (state[next] == 1) {
                    std::string cycle;
                    for (const std::string& step : path)
                        cycle += step + " -> ";
                    ADD_FAILURE() << "include cycle: " << cycle << next;
                } else if (state[next] == 0) {
                    visit(next);
                }
            }
        path.pop_back();
        state[folder] = 2;
    };
    for (const auto& [folder, includes] : graph) {
        if (state[folder] == 0)
            visit(folder);
        if (folder.rfind("backends/", 0) != 0)
            for (const std::string& included : includes)
                EXPECT_NE(included.rfind("backends/", 0), 0u) << folder << " includes " << included;
    }
}
