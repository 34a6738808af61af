#pragma once
// What the name of a backup file says, as saving names it (BackupFile.h):
// "backup - YYYYMMDD - HH.MM - NAME.reg", with " (N)" before ".reg" for the
// Nth backup of one name in one minute.
#include <optional>
#include <string>

struct BackupName {
    std::string stamp; // YYYYMMDDHHMM
    std::string name;  // the function's or the change's name, as the file name holds it
    int copy = 1;
};

// Nothing for a name of another form (the folder may hold other files).
std::optional<BackupName> ParseBackupName(const std::string& fileName);

// A stamp as the command line writes a minute: YYYY-MM-DDTHH:MM.
std::string StampMinuteText(const std::string& stamp);
