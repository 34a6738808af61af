#pragma once
// The messages of the history of changes (keys 1850-1899, 2401, 2404-2406).
#include "platform/Texts.h"

namespace app {

namespace text {

inline constexpr platform::TextId MenuHistory{1850, "&History of changes..."};
inline constexpr platform::TextId HistoryCaption{1851, "History of changes"};
inline constexpr platform::TextId ColumnWhen{1852, "When"};
inline constexpr platform::TextId ColumnFunction{1853, "Function"};
inline constexpr platform::TextId ColumnBackup{1854, "Value in the backup"};
inline constexpr platform::TextId ColumnNow{1855, "Value now"};
inline constexpr platform::TextId RestoreButton{1856, "&Restore"};
inline constexpr platform::TextId UndoSinceButton{1857, "&Undo all since this"};
inline constexpr platform::TextId HistoryCloseButton{1858, "Close"};
// The count first, so that a narrow status line shows it before the folder.
inline constexpr platform::TextId BackupCount{1859, "%1 backups in \"%2\""};
inline constexpr platform::TextId BackupCountOne{2404, "%1 backup in \"%2\""};

// A row: year, month, day, hour and minute; a value and its marks.
inline constexpr platform::TextId BackupTime{1860, "%1-%2-%3 %4:%5"};
inline constexpr platform::TextId NoValue{1861, "(none)"};
inline constexpr platform::TextId CannotRead{1862, "(cannot be read)"};
inline constexpr platform::TextId SameNow{1863, "same: %1"};
inline constexpr platform::TextId DefaultValueName{1864, "(default)"};

// Restore and Undo all since this: the question, then what was done.
inline constexpr platform::TextId RestoreQuestion{1865, "Restore the backup \"%1\"?"};
inline constexpr platform::TextId UndoQuestion{
    1866, "Undo every change from \"%1\" on (%2 backups)? Each value gets back what it held before it."};
// Undoing the newest backup alone, which the question above would count as
// "1 backups".
inline constexpr platform::TextId UndoQuestionOne{
    2401, "Undo the change \"%1\" (%2 backup)? Each value gets back what it held before it."};
inline constexpr platform::TextId ValuesThatChange{
    1867, "Values that change: %1. What they hold now goes into a new backup first, so that this can be undone too."};
inline constexpr platform::TextId HistoryValuesChanged{
    1868, "Values changed: %1. The backup \"%2\" holds them as they were."};
inline constexpr platform::TextId ChangedValue{1869, "%1, %2: %3 becomes %4"};
inline constexpr platform::TextId MoreValues{1870, "... and %1 more"};
inline constexpr platform::TextId HistoryNothingToChange{1871, "Nothing to change: the registry holds these values already."};
inline constexpr platform::TextId ChooseBackupFirst{1872, "Choose a backup in the list first."};

// Why nothing was changed.
inline constexpr platform::TextId HistoryNothingChanged{1873, "Nothing was changed."};
inline constexpr platform::TextId HistoryBackupUnreadable{1874, "The backup cannot be read: %1"};
inline constexpr platform::TextId BackupOtherRoot{
    1875, "\"%1\", line %2: the key \"%3\" is not below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, the keys the "
          "program writes."};
inline constexpr platform::TextId HistoryValueUnreadable{1876, "The value \"%1\" of the key \"%2\" cannot be read: %3."};
inline constexpr platform::TextId HistoryTextBeyondCodePage{
    2405, "\"%1\", line %2: the text of \"%3\" holds characters beyond Windows-1252 (%4), which the program cannot "
          "write into the registry."};
inline constexpr platform::TextId HistoryNotApplied{
    1877, "The change was not made: %1. Nothing was changed; the backup \"%2\" holds the values from before."};

} // namespace text

} // namespace app
