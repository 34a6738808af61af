#pragma once
// A throw-away application folder: the program's executable seems to lie in
// it while the object lives, and everything in it is removed afterwards.
#include "platform/Services.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

// Where a test that flushes thousands of files makes its folder: in memory,
// where flushing costs nothing.
inline std::filesystem::path FastFolder()
{
    return std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                     : std::filesystem::temp_directory_path();
}

class TempAppFolder {
public:
    // `base` holds the folder: a test that flushes thousands of files gives
    // a folder in memory.
    explicit TempAppFolder(platform::IRegistry* registry = nullptr, platform::IClock* clock = nullptr,
                           const std::filesystem::path& base = std::filesystem::temp_directory_path())
        : folder_(MakeFolder(base)), scope_(MakeServices(folder_, registry, clock))
    {
    }
    ~TempAppFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TempAppFolder(const TempAppFolder&) = delete;
    TempAppFolder& operator=(const TempAppFolder&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    // Bytes exactly as given: the tests choose the line ends.
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out)
            throw std::runtime_error("cannot write test file " + name);
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(folder_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The names in the folder or in its subfolder `sub`, sorted.
    std::vector<std::string> Entries(const std::string& sub = "") const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(sub.empty() ? folder_ : folder_ / sub))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static std::filesystem::path MakeFolder(const std::filesystem::path& base)
    {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto folder = base / ("tunewright-test-" + std::to_string(random()) + std::to_string(random()));
            if (std::filesystem::create_directory(folder))
                return folder;
        }
        throw std::runtime_error("cannot create a temporary folder");
    }
    static platform::Services MakeServices(const std::filesystem::path& folder, platform::IRegistry* registry,
                                           platform::IClock* clock)
    {
        platform::Services services;
        services.registry = registry;
        services.clock = clock;
        services.executablePath = (folder / "tunewright").string();
        return services;
    }

    std::filesystem::path folder_;
    platform::ScopedServices scope_;
};
