#include "cli/Output.h"

#include "platform/ConsoleText.h"

#include <nlohmann/json.hpp>

namespace cli {

void Output::Line(std::string_view text)
{
    Utf8Line(platform::Utf8Text(text));
}

void Output::Utf8Line(std::string_view text)
{
    out_ << text << platform::ConsoleLineEnd();
}

void Output::Line(std::u16string_view text)
{
    Utf8Line(platform::Utf16ToUtf8(text));
}

void Output::Document(const Json& document)
{
    out_ << document.dump(2) << '\n';
}

void Output::DocumentText(std::string_view document)
{
    out_ << document << '\n';
}

void Output::Bytes(std::string_view bytes)
{
    out_ << bytes;
}

void Output::Error(std::string_view message)
{
    err_ << "tunewright-cli: " << platform::Utf8Text(message) << platform::ConsoleLineEnd();
}

Json JsonText(const std::string& text)
{
    return platform::Utf8Text(text);
}

Json JsonText(const std::optional<std::string>& text)
{
    return text ? JsonText(*text) : Json();
}

} // namespace cli
