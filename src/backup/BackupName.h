#pragma once
// The name of a backup file, written and read in one place:
// "backup - YYYYMMDD - HH.MM - NAME.reg", with " (N)" before ".reg" for the
// Nth backup of one name in one minute. FormatBackupName and
// ParseBackupName are inverse: a name read back gives the stamp, the name
// and the copy number it was written with.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace backup {

struct BackupName {
    std::string stamp; // YYYYMMDDHHMM
    std::string name;  // the function's or the change's name, as NamePart made it
    int copy = 1;

    friend bool operator==(const BackupName&, const BackupName&) = default;
};

// Far more saves of one name in one minute than anyone makes; a limit all
// the same, so that a folder that answers every name as taken ends.
inline constexpr int kMaxCopies = 1000;

// The file name, ".reg" included. A name that itself ends like a copy
// number, "Mode (2)" say, gets its copy number written even when it is the
// first ("Mode (2) (1)"), so that reading it back does not take its ending
// for one.
std::string FormatBackupName(const BackupName& name);

// Nothing for a name of another form (the folder may hold other files).
std::optional<BackupName> ParseBackupName(std::string_view fileName);

// What a function's name becomes in a file name: every character that a
// Windows file name cannot hold becomes '_'; a name that is empty or only
// dots and blanks becomes "function <functionKey>".
std::string NamePart(const std::string& name, int functionKey);

// `name` cut at its end so that the file name of every copy of it, up to
// kMaxCopies, is at most `longest` characters long; so the copies of one
// save share their name. A `longest` too short for any name leaves it
// whole, and its failure names that file.
std::string ShortenedName(const std::string& name, std::size_t longest);

} // namespace backup
