// Windows-1252, UTF-8 and UTF-16LE: every byte string survives the way to
// UTF-8 and back and the way to UTF-16LE and back, the five bytes the code
// page leaves undefined included; what comes out towards the terminal is
// valid UTF-8; UTF-8 made only of characters the code page holds comes back
// unchanged, and anything else loses only what the code page cannot hold.
// UTF-16LE (a version 5 registry file) is converted whole or refused at the
// first code unit the code page cannot hold, never with a loss.
#include "FuzzSupport.h"

#include "platform/Cp1252.h"

namespace {

// The characters of valid UTF-8; none when the text is not valid UTF-8.
std::optional<std::u32string> Characters(std::string_view utf8)
{
    std::u32string out;
    while (!utf8.empty()) {
        const platform::Utf8Step step = platform::DecodeUtf8(utf8);
        if (step.kind != platform::Utf8Step::Kind::Char)
            return std::nullopt;
        out += step.ch;
        utf8.remove_prefix(step.length);
    }
    return out;
}

void CheckUtf16(std::string_view bytes)
{
    FUZZ_CHECK(platform::Utf16LeToCp1252(platform::Cp1252ToUtf16Le(bytes)).HasValue());
    FUZZ_CHECK(platform::Utf16LeToCp1252(platform::Cp1252ToUtf16Le(bytes)).Value() == bytes);

    const auto narrow = platform::Utf16LeToCp1252(bytes);
    if (narrow) {
        FUZZ_CHECK(platform::Cp1252ToUtf16Le(narrow.Value()) == bytes);
        return;
    }
    const std::size_t offset = narrow.Error();
    FUZZ_CHECK(offset < bytes.size() && offset % 2 == 0);
    // Everything before the refused code unit converts.
    FUZZ_CHECK(platform::Utf16LeToCp1252(bytes.substr(0, offset)).HasValue());
    FUZZ_CHECK(!platform::Utf16LeFault(bytes, offset).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::AsText(data, size);

    const std::string utf8 = platform::Cp1252ToUtf8(bytes);
    FUZZ_CHECK(platform::Utf8ToCp1252(utf8) == bytes);
    const auto characters = Characters(utf8);
    FUZZ_CHECK(characters.has_value() && characters->size() == bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        FUZZ_CHECK((*characters)[i] == platform::DecodeCp1252(static_cast<unsigned char>(bytes[i])));

    // The same bytes read as UTF-8, as the terminal sends them.
    const std::string narrow = platform::Utf8ToCp1252(bytes);
    FUZZ_CHECK(narrow.size() <= bytes.size());
    FUZZ_CHECK(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(narrow)) == narrow);
    if (const auto typed = Characters(bytes)) {
        std::string kept;
        for (const char32_t ch : *typed)
            if (const auto byte = platform::EncodeCp1252(ch))
                kept += *byte;
        FUZZ_CHECK(narrow == kept);
        if (kept.size() == typed->size())
            FUZZ_CHECK(platform::Cp1252ToUtf8(narrow) == bytes);
    }

    CheckUtf16(bytes);
    return 0;
}
