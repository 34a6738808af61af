#include "saving/BackupFile.h"

#include "platform/Exceptions.h"
#include "platform/NewFile.h"
#include "saving/Texts.h"
#include "util/Path.h"

namespace {

// Far more saves of one function in one minute than anyone makes; a limit
// all the same, so that a folder that answers every name as taken ends.
constexpr int kMaxCopies = 1000;

std::string SafeName(const std::string& name, int functionKey)
{
    constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    std::string safe = name;
    for (char& c : safe)
        if (static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos)
            c = '_';
    if (safe.find_first_not_of(". ") == std::string::npos)
        return "function " + std::to_string(functionKey);
    return safe;
}

std::string Part(const std::string& text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}

std::string FileName(const std::string& stem, int copy)
{
    return stem + (copy > 1 ? " (" + std::to_string(copy) + ")" : std::string()) + ".reg";
}

// The stem cut so that every copy's name fits into the folder, the longest
// number included, so that the copies of one save share their stem.
std::string FittedStem(const std::string& folder, const std::string& stem)
{
    const std::size_t ending = FileName("", kMaxCopies).size();
    const std::size_t longest = tk::LongestNewFileName(folder);
    // A folder with no room for a name at all gets the whole stem, and its
    // failure names that file.
    if (stem.size() + ending <= longest || longest <= ending)
        return stem;
    return stem.substr(0, longest - ending);
}

} // namespace

std::string BackupFolder(const std::string& applicationFolder)
{
    return JoinPath(applicationFolder, "backup");
}

std::string BackupStem(const std::string& dateStamp, const std::string& hourStamp, const std::string& minuteStamp,
                       const std::string& functionName, int functionKey)
{
    const std::string minute = minuteStamp.size() >= 2 ? minuteStamp.substr(minuteStamp.size() - 2) : minuteStamp;
    return "backup - " + Part(dateStamp, 0, 8) + " - " + Part(hourStamp, 8, 2) + "." + minute + " - " +
           SafeName(functionName, functionKey);
}

std::string BackupStemNow(const PowerClass& power, const std::string& functionName, int functionKey)
{
    const std::string dateStamp = power.GetTimestamp();
    const std::string hourStamp = power.GetTimestamp();
    const std::string minuteStamp = power.GetTimestamp();
    return BackupStem(dateStamp, hourStamp, minuteStamp, functionName, functionKey);
}

std::string WriteBackupFile(const std::string& folder, const std::string& wholeStem, std::string_view content)
{
    const std::string stem = FittedStem(folder, wholeStem);
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
        const std::string path = JoinPath(folder, FileName(stem, copy));
        if (tk::CreateNewFile(path, content) == tk::NewFileResult::Created)
            return path;
    }
    throw tk::CFileException(JoinPath(folder, FileName(stem, 1)),
                             tk::Text(text::AllCopiesTaken, {std::to_string(kMaxCopies - 1)}));
}
