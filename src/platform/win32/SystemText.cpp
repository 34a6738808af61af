#include "platform/SystemText.h"

#include "platform/win32/Win32.h"

#include <algorithm>

namespace platform {

namespace {

const wchar_t* Units(std::u16string_view text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

} // namespace

// A character converts when the code page has bytes for it that convert back
// to it: no best fit, and no default character standing in for it.
CodePageText FromUtf16(std::u16string_view text)
{
    // A character takes at most a few bytes in any code page, and comes back
    // as at most two units.
    return detail::ConvertEach(text, [](std::u16string_view unit, std::string& bytes) {
        std::string narrow(8, '\0');
        BOOL lost = FALSE;
        const int length =
            ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Units(unit), static_cast<int>(unit.size()),
                                  narrow.data(), static_cast<int>(narrow.size()), nullptr, &lost);
        if (length <= 0 || lost)
            return false;
        narrow.resize(static_cast<std::size_t>(length));
        std::u16string back(4, u'\0');
        const int units = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), length,
                                                reinterpret_cast<wchar_t*>(back.data()), static_cast<int>(back.size()));
        back.resize(static_cast<std::size_t>(std::max(units, 0)));
        if (back != unit)
            return false;
        bytes = std::move(narrow);
        return true;
    });
}

std::wstring win32::Wide(std::string_view text)
{
    const std::u16string wide = ToUtf16(text);
    return std::wstring(wide.begin(), wide.end());
}

std::u16string ToUtf16(std::string_view text)
{
    if (text.empty())
        return {};
    std::u16string wide(text.size(), u'\0');
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                             reinterpret_cast<wchar_t*>(wide.data()), static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(length, 0)));
    return wide;
}

} // namespace platform
