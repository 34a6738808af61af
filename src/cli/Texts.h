#pragma once
// The messages of the command line tool (keys 1700-1799; those of Windows'
// defaults 2120-2139).
#include "platform/Texts.h"

namespace cli {

namespace text {

// --help, one line each.
inline constexpr platform::TextId HelpUsage{
    1700, "usage: tunewright-cli [--app-folder DIR] [--registry FILE] [--now YYYY-MM-DDTHH:MM] [--json] COMMAND ..."};
inline constexpr platform::TextId HelpIntro{
    1701, "Shows, changes, backs up and restores the functions of a Tunewright installation."};
inline constexpr platform::TextId HelpAppFolder{
    1702, "  --app-folder DIR   the installation (default: the folder of this program)"};
inline constexpr platform::TextId HelpRegistry{
    1703, "  --registry FILE    the registry store (Linux; else $TUNEWRIGHT_REGISTRY, else DIR/registry.reg); on "
          "Windows a registry of its own, loaded from FILE and saved back into it"};
inline constexpr platform::TextId HelpNow{1704, "  --now MINUTE       the clock for the names of backups"};
inline constexpr platform::TextId HelpJson{1705, "  --json             output as JSON (UTF-8)"};
inline constexpr platform::TextId HelpList{
    1706, "  list [--category N]          every function: KEY, NAME and VALUE as the window shows it"};
inline constexpr platform::TextId HelpGet{
    1707, "  get FUNCTION                 one function, by its key or its name (letter case ignored)"};
inline constexpr platform::TextId HelpSet{
    1708, "  set FUNCTION VALUE           saves as the window does: a backup, then the value (a switch takes on or "
          "off, 1 or 0)"};
inline constexpr platform::TextId HelpHistory{
    1709, "  history                      every backup, newest first, beside the value the registry holds now"};
inline constexpr platform::TextId HelpRestore{
    1710, "  restore BACKUP               restores a backup (a path, or a name in the backup folder)"};
inline constexpr platform::TextId HelpUndo{
    1711, "  undo --since MINUTE          restores every backup made at or after MINUTE, newest first"};
inline constexpr platform::TextId HelpExport{
    1712, "  export [FUNCTION...] [--category N]   writes the values of the functions as a registry file"};
inline constexpr platform::TextId HelpApply{
    1713, "  apply FILE [--check]         applies a registry file, all of it or nothing; --check only tells what "
          "would change"};
inline constexpr platform::TextId HelpMinute{1714, "MINUTE is YYYY-MM-DDTHH:MM. Every change writes a backup first."};
inline constexpr platform::TextId HelpStatus{
    1715, "Exit status: 0 done or nothing to change, 1 failed, 2 wrong command line, 3 --check found something to "
          "change."};
inline constexpr platform::TextId HelpMore{1716, "Run tunewright-cli --help for the commands."};

// A wrong command line.
inline constexpr platform::TextId UnknownOption{1720, "unknown option %1"};
inline constexpr platform::TextId OptionNeedsValue{1721, "%1 needs a value"};
inline constexpr platform::TextId BadMinute{1722, "%1 wants a minute written YYYY-MM-DDTHH:MM, not \"%2\""};
inline constexpr platform::TextId NoCommand{1723, "no command given"};
inline constexpr platform::TextId UnknownCommand{1724, "unknown command \"%1\""};
inline constexpr platform::TextId WrongOperands{1725, "wrong number of arguments; the command is written: %1"};
inline constexpr platform::TextId OptionNotForCommand{1726, "%1 does not go with the command %2"};
inline constexpr platform::TextId BadCategory{1727, "--category wants a number from 0 to 5, not \"%1\""};
inline constexpr platform::TextId SinceMissing{1728, "undo needs --since YYYY-MM-DDTHH:MM"};
inline constexpr platform::TextId NoSuchFolder{1729, "the installation folder \"%1\" does not exist"};
inline constexpr platform::TextId ExportIsNoJson{1731, "export writes a registry file; --json does not go with it"};

// Failures.
inline constexpr platform::TextId FunctionsUnreadable{1740, "the functions cannot be read: %1"};
inline constexpr platform::TextId UnknownFunction{1741, "there is no function \"%1\" (give its key or its name)"};
inline constexpr platform::TextId TargetHasNoValue{
    1742, "the function \"%1\" opens a target and has no value to set; nothing was changed"};
inline constexpr platform::TextId NotASwitchValue{
    1743, "\"%1\" is no value for the switch \"%2\": give on or off (1 or 0); nothing was changed"};
inline constexpr platform::TextId ValueUnreadable{1744, "the value \"%1\" of the key \"%2\" cannot be read: %3"};
inline constexpr platform::TextId NothingChanged{1745, "%1; nothing was changed"};
inline constexpr platform::TextId NotApplied{
    1746, "the change was not made: %1. Nothing was changed; the backup \"%2\" holds the values from before"};
inline constexpr platform::TextId OtherRoot{
    1747, "\"%1\", line %2: the key \"%3\" is not below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE, the keys the "
          "program writes; nothing was changed"};
inline constexpr platform::TextId RemovesKey{
    1748, "\"%1\", line %2: a profile cannot remove the key \"%3\", whose values no backup would hold; nothing was "
          "changed"};
inline constexpr platform::TextId NoExportableValue{
    1750, "the function \"%1\" has no value that a registry file can hold (its key is \"%2\")"};
inline constexpr platform::TextId BackupUnreadable{1751, "the backup cannot be read: %1"};

// What was done.
inline constexpr platform::TextId NothingToChange{1760, "Nothing to change."};
inline constexpr platform::TextId ValuesChanged{1761, "Values changed: %1; the backup \"%2\" holds them as they were."};
inline constexpr platform::TextId ValuesWouldChange{1762, "Values that would change: %1."};
inline constexpr platform::TextId NoBackupSince{1765, "No backup was made at or after %1."};

// Windows' defaults.
inline constexpr platform::TextId HelpReset{
    2120, "  reset FUNCTION... | reset --all [--check]   puts Windows' defaults back as apply does, behind one backup"};
inline constexpr platform::TextId HelpDefaults{
    2121, "Where 0019def.ini holds Windows' defaults, list and get also show each function's DEFAULT and whether the "
          "registry differs from it."};
inline constexpr platform::TextId NoDefault{2122, "the function \"%1\" has no known Windows default; nothing was changed"};
inline constexpr platform::TextId DefaultMisfits{
    2123, "\"%1\": the Windows default of the function \"%2\" is no value that its kind holds; nothing was changed"};
inline constexpr platform::TextId DefaultsUnreadable{2124, "Windows' defaults cannot be read: %1"};
// Keys 2300-2399: more of the command line.
inline constexpr platform::TextId EmptyRegistry{2300, "--registry wants the name of a file, not an empty text"};
inline constexpr platform::TextId NoStore{2301, "the registry store \"%1\" does not exist; nothing was changed"};
inline constexpr platform::TextId FolderIsFile{2302, "the installation folder \"%1\" is a file, not a folder"};
inline constexpr platform::TextId RefusedValue{
    2303, "\"%1\", line %2: %3 is no value for the function \"%4\" (%5); nothing was changed"};
inline constexpr platform::TextId StandardInput{2304, "standard input"};
// A registry file's text that the program cannot write into the registry.
inline constexpr platform::TextId TextBeyondCodePage{
    2307, "\"%1\", line %2: the text of \"%3\" holds characters beyond Windows-1252 (%4), which the program cannot "
          "write into the registry"};
inline constexpr platform::TextId HelpVersion{2305, "  --version          the version of this program"};
inline constexpr platform::TextId HelpNotes{
    2306, "restore and undo take --check as apply does. apply - reads the profile from standard input; a value "
          "of a function must be one that set accepts, the values of other keys are applied as they are. export "
          "leaves out texts, folders and files, which name one machine or person, unless they are named or --all "
          "is given."};
// %1 the argument with "?" for each character that the code page lacks, %2
// their numbers ("U+0141, U+03A9"), as the window words it.
inline constexpr platform::TextId ForeignArgument{
    2308, "the text \"%1\" holds characters that this program cannot keep (%2); here they show as \"?\". Nothing "
          "was done: give it without them"};

} // namespace text

} // namespace cli
