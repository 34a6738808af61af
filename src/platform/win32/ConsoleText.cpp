#include "platform/ConsoleText.h"

#include "platform/win32/Win32.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace tk {

namespace {

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    if (wide.empty())
        return std::string();
    const int length = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                          nullptr);
    return text;
}

} // namespace

std::string ConsoleText(std::string_view text)
{
    const UINT console = ::GetConsoleOutputCP();
    const UINT codePage = console != 0 ? console : ::GetOEMCP();
    if (codePage == ::GetACP())
        return std::string(text);
    return Narrow(win32::Wide(text), codePage);
}

std::string ConsoleText(std::u16string_view text)
{
    const UINT console = ::GetConsoleOutputCP();
    return Narrow(std::wstring(text.begin(), text.end()), console != 0 ? console : ::GetOEMCP());
}

void UseBinaryStandardStreams()
{
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

void UseBinaryStandardError()
{
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

std::string_view ConsoleLineEnd()
{
    return "\r\n";
}

std::string Utf8Text(std::string_view text)
{
    return Narrow(win32::Wide(text), CP_UTF8);
}

std::optional<std::string> ArgumentText(std::string_view argument)
{
    return std::string(argument);
}

} // namespace tk
