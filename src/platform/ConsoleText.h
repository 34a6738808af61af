#pragma once
// Text of a command-line program at the edges: the program keeps its texts
// in the system code page (Windows-1252 on Linux), while its arguments and
// its output are UTF-8, and a Windows console shows its output through the
// console's wide functions.
#include "platform/SystemText.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Standard input and output pass bytes as they are: no line ends are
// converted (Windows converts them unless told).
void UseBinaryStandardStreams();
// Standard error as well.
void UseBinaryStandardError();

// The line end of text output: CR LF on Windows, LF elsewhere.
std::string_view ConsoleLineEnd();

// Text as UTF-8.
std::string Utf8Text(std::string_view text);

// The program's arguments without its name, in UTF-8: Linux hands them over
// so; on Windows they come from the wide command line, since the narrow one
// has a look-alike for a character the code page lacks ("L" for "\u0141").
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// An argument in UTF-8 as text in the system code page, the characters the
// code page lacks named in `foreign` (platform/SystemText.h). One that is no
// UTF-8 is taken byte for byte.
CodePageText ArgumentText(std::string_view argument);

// An argument that names a file or folder, as the platform's file functions
// take it: byte for byte on Linux, text in the code page on Windows.
CodePageText ArgumentPath(std::string_view argument);

// While it lives, standard output and error take UTF-8 text. On Windows one
// that is a console shows it through the console's wide output, exact
// whatever the console's code page (a byte that is no UTF-8 shows as the
// code page's character); a file or a pipe gets the bytes, as on Linux.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    struct Streams;
    std::unique_ptr<Streams> streams_;
};

} // namespace platform
