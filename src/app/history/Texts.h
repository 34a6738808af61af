#pragma once
// The messages of the history of changes (keys 1850-1899, 2401, 2404-2406).
#include "platform/Texts.h"

namespace text {

inline constexpr tk::TextId MenuHistory{1850, "&History of changes..."};
inline constexpr tk::TextId HistoryCaption{1851, "History of changes"};
inline constexpr tk::TextId ColumnWhen{1852, "When"};
inline constexpr tk::TextId ColumnFunction{1853, "Function"};
inline constexpr tk::TextId ColumnBackup{1854, "Value in the backup"};
inline constexpr tk::TextId ColumnNow{1855, "Value now"};
inline constexpr tk::TextId RestoreButton{1856, "&Restore"};
inline constexpr tk::TextId UndoSinceButton{1857, "&Undo all since this"};
inline constexpr tk::TextId HistoryCloseButton{1858, "Close"};
// The count first, so that a narrow status line shows it before the folder.
inline constexpr tk::TextId BackupCount{1859, "%1 backups in \"%2\""};
inline constexpr tk::TextId BackupCountOne{2404, "%1 backup in \"%2\""};

// A row: year, month, day, hour and minute; a value and its marks.
inline constexpr tk::TextId BackupTime{1860, "%1-%2-%3 %4:%5"};
inline constexpr tk::TextId NoValue{1861, "(none)"};
inline constexpr tk::TextId CannotRead{1862, "(cannot be read)"};
inline constexpr tk::TextId SameNow{1863, "same: %1"};
inline constexpr tk::TextId DefaultValueName{1864, "(default)"};

// Restore and Undo all since this: the question, then what was done.
inline constexpr tk::TextId RestoreQuestion{1865, "Restore the backup \"%1\"?"};
inline constexpr tk::TextId UndoQuestion{
    1866, "Undo every change from \"%1\" on (%2 backups)? Each value gets back what it held before it."};
// Undoing the newest backup alone, which the question above would count as
// "1 backups".
inline constexpr tk::TextId UndoQuestionOne{
    2401, "Undo the change \"%1\" (%2 backup)? Each value gets back what it held before it."};
inline constexpr tk::TextId ValuesThatChange{
    1867, "Values that change: %1. What they hold now goes into a new backup first, so that this can be undone too."};
inline constexpr tk::TextId HistoryValuesChanged{
    1868, "Values changed: %1. The backup \"%2\" holds them as they were."};
inline constexpr tk::TextId ChangedValue{1869, "%1, %2: %3 becomes %4"};
inline constexpr tk::TextId MoreValues{1870, "... and %1 more"};
inline constexpr tk::TextId HistoryNothingToChange{1871, "Nothing to change: the registry holds these values already."};
inline constexpr tk::TextId ChooseBackupFirst{1872, "Choose a backup in the list first."};

// Why nothing was changed.
inline constexpr tk::TextId HistoryNothingChanged{1873, "Nothing was changed."};
inline constexpr tk::TextId HistoryBackupUnreadable{1874, "The backup cannot be read: %1"};
inline constexpr tk::TextId BackupOtherRoot{
    1875, "\"%1\", line %2: the key \"%3\" is not below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, the keys the "
          "program writes."};
inline constexpr tk::TextId HistoryValueUnreadable{1876, "The value \"%1\" of the key \"%2\" cannot be read: %3."};
inline constexpr tk::TextId HistoryTextBeyondCodePage{
    2405, "\"%1\", line %2: the text of \"%3\" holds characters beyond Windows-1252 (%4), which the program cannot "
          "write into the registry."};
inline constexpr tk::TextId HistoryNotApplied{
    1877, "The change was not made: %1. Nothing was changed; the backup \"%2\" holds the values from before."};

} // namespace text
