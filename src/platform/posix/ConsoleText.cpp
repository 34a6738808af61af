#include "platform/ConsoleText.h"

#include "platform/Cp1252.h"

namespace tk {

namespace {

bool IsUtf8(std::string_view text)
{
    while (!text.empty()) {
        const Utf8Step step = DecodeUtf8(text);
        if (step.kind != Utf8Step::Kind::Char)
            return false;
        text.remove_prefix(step.length);
    }
    return true;
}

} // namespace

std::string ConsoleText(std::string_view text)
{
    return Cp1252ToUtf8(text);
}

std::string ConsoleText(std::u16string_view text)
{
    return Utf16ToUtf8(text);
}

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

std::optional<std::string> ArgumentText(std::string_view argument)
{
    if (!IsUtf8(argument))
        return std::string(argument);
    std::string text = Utf8ToCp1252(argument);
    // Only a character the code page lacks is dropped in the conversion.
    if (Cp1252ToUtf8(text) != argument)
        return std::nullopt;
    return text;
}

} // namespace tk
