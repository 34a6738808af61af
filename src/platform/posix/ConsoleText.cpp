#include "platform/ConsoleText.h"

#include "platform/Cp1252.h"

namespace platform {

struct Utf8Console::Streams {};

Utf8Console::Utf8Console() = default;

Utf8Console::~Utf8Console() = default;

void UseBinaryStandardStreams() {}

void UseBinaryStandardError() {}

std::string_view ConsoleLineEnd()
{
    return "\n";
}

std::string Utf8Text(std::string_view text)
{
    return Cp1252ToUtf8(text);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

CodePageText ArgumentPath(std::string_view argument)
{
    return {std::string(argument), {}};
}

} // namespace platform
