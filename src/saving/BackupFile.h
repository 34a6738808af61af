#pragma once
// Where a backup goes and under which name. Backups are never overwritten:
// a name that is taken gets " (2)", " (3)", ... before ".reg".
#include "util/PowerClass.h"

#include <string>
#include <string_view>

// The folder "backup" in the application folder; the program never creates it.
std::string BackupFolder(const std::string& applicationFolder);

// "backup - DATE - HH.MM - NAME" without ".reg": the date is the first eight
// characters of `dateStamp`, the hour characters 9-10 of `hourStamp`, the
// minute the last two of `minuteStamp` (GetTimestamp texts). Every character
// that a Windows file name cannot hold becomes '_'; a name that is empty or
// only dots and blanks becomes "function <functionKey>".
std::string BackupStem(const std::string& dateStamp, const std::string& hourStamp, const std::string& minuteStamp,
                       const std::string& functionName, int functionKey);

// BackupStem with the date, the hour and the minute each from a reading of
// `power`'s clock of its own.
std::string BackupStemNow(const PowerClass& power, const std::string& functionName, int functionKey);

// Creates the backup under the first free name and returns its path. A stem
// too long for a name in `folder` is cut at its end, so that the name, with
// the highest copy number, and the temporary name it is written under both
// fit. Throws
// tk::CFileException naming the file when it cannot be written; no file is
// left behind then.
std::string WriteBackupFile(const std::string& folder, const std::string& stem, std::string_view content);
