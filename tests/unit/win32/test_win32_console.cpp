// tunewright-cli's output in a console: UTF-8 through the console's wide
// output, exact whatever the console's code page.
#include "platform/ConsoleText.h"
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

#include <iostream>

// A character cut between two writes comes out whole; a byte that is no
// UTF-8 shows as the code page's character.
TEST(Win32Console, Utf8OutputIsShownExactly)
{
    // A program that Wine starts from a shell has a console that its screen
    // functions do not reach: the test reads a new one.
    ::FreeConsole();
    const bool allocated = ::AllocConsole() != FALSE;
    // Wine's console host may not answer at once.
    HANDLE console = INVALID_HANDLE_VALUE;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    for (int tries = 0; tries < 50; ++tries, ::Sleep(40)) {
        console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE && ::GetConsoleScreenBufferInfo(console, &info))
            break;
        if (console != INVALID_HANDLE_VALUE)
            ::CloseHandle(console);
        console = INVALID_HANDLE_VALUE;
    }
    ASSERT_NE(console, INVALID_HANDLE_VALUE) << ::GetLastError();
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ::SetStdHandle(STD_OUTPUT_HANDLE, console);
    {
        const platform::Utf8Console utf8;
        std::cout << "\xC5\x81\xC3\xB3" "d\xC5";
        std::cout << "\xBA \xCE\xA9mega \xE9" << std::flush;
    }
    ::SetStdHandle(STD_OUTPUT_HANDLE, output);
    std::wstring shown(12, L'\0');
    DWORD read = 0;
    EXPECT_TRUE(::ReadConsoleOutputCharacterW(console, shown.data(), 12, info.dwCursorPosition, &read));
    EXPECT_EQ(shown.substr(0, read), L"\u0141\u00F3d\u017A \u03A9mega \u00E9");
    ::CloseHandle(console);
    if (allocated)
        ::FreeConsole();
}
