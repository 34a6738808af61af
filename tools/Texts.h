#pragma once
// The messages of the programs' entry points and of the package (keys
// 1900-1949): the importer's command line and help, and the start of the
// Windows program (and 2403, the account it runs as).
#include "platform/Texts.h"

namespace tools {

namespace text {

// tunewright-import.
inline constexpr platform::TextId ImportUsage{1900, "usage: tunewright-import [--registry STORE] [/s] FILE"};
inline constexpr platform::TextId ImportAbout{
    1901, "Imports the registry file FILE into the registry store, as the registry editor imports a .reg file on "
          "Windows: REGEDIT4, or \"Windows Registry Editor Version 5.00\" (UTF-16LE). It asks first; a file with any "
          "bad line is refused whole."};
inline constexpr platform::TextId ImportOptionRegistry{
    1902, "--registry STORE  import into the store STORE; without it into $TUNEWRIGHT_REGISTRY, else into "
          "registry.reg beside this program"};
inline constexpr platform::TextId ImportOptionSilent{1903, "/s, -s            import without asking and print nothing"};
inline constexpr platform::TextId ImportOptionHelp{1904, "--help            show this help"};
inline constexpr platform::TextId ImportExitStatus{1905, "Exit status: 0 imported, 1 not imported, 2 a wrong command line."};
inline constexpr platform::TextId ImportUnknownOption{1906, "unknown option %1"};
inline constexpr platform::TextId ImportOneFile{1907, "one file at a time"};
inline constexpr platform::TextId ImportWhichFile{1908, "which file?"};
inline constexpr platform::TextId ImportNoStoreName{1909, "--registry needs the name of the store file"};
inline constexpr platform::TextId NoOwnFile{1910, "cannot find the program's own file (%1): %2"};
inline constexpr platform::TextId ImportAnswers{1911, "[y/N]"};
// The answers that mean yes, separated by blanks; "y" and "yes" always do.
inline constexpr platform::TextId ImportYesWords{1912, "y yes"};

// The terminal program.
inline constexpr platform::TextId NeedsTerminal{
    1920, "this is the full-screen text version of Tunewright; it needs a terminal. Run it in a terminal window, with "
          "standard input and output not redirected."};

// The Windows program, started without its data files: from inside the zip
// file, Windows extracts the program alone into a folder of its own.
inline constexpr platform::TextId RunFromExtractedFolder{
    1930, "Orvelle Tunewright cannot find its settings file \"%1\". It must run from its extracted folder, beside "
          "config.ini and its other files: extract the whole folder \"tunewright-windows\" from the zip file, then "
          "start tunewright.exe in that folder."};

// The Windows program, run as another account than the desktop's.
inline constexpr platform::TextId OtherAccount{
    2403, "Orvelle Tunewright runs as the account \"%1\", not as \"%2\", who is signed in to this desktop. "
          "Every setting of the current user that it shows and changes is one of \"%1\", not of \"%2\". Go on?"};

} // namespace text

} // namespace tools
