#pragma once
// Where a command's results go: lines of text or one JSON document on
// standard output, messages on standard error after the program's name, all
// in UTF-8 (which a Windows console shows through its wide output,
// platform/ConsoleText.h).
#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

// Objects keep their keys in the order they are written.
using Json = nlohmann::ordered_json;

class Output {
public:
    Output(bool json, std::ostream& out, std::ostream& err) : json_(json), out_(out), err_(err) {}

    bool IsJson() const { return json_; }

    // A line of text in the system code page.
    void Line(std::string_view text);
    // A line whose text may go beyond the code page (regfile::ShownText).
    void Line(std::u16string_view text);
    // A line of text in UTF-8: a value that the code page cannot carry.
    void Utf8Line(std::string_view text);
    // The JSON document of the command.
    void Document(const Json& document);
    // The JSON document of the command, written already in Document's layout.
    void DocumentText(std::string_view document);
    // Bytes as they are: a registry file.
    void Bytes(std::string_view bytes);
    // A message to the user, in the system code page.
    void Error(std::string_view message);

private:
    bool json_;
    std::ostream& out_;
    std::ostream& err_;
};

// Text in the system code page as a JSON string, which is UTF-8.
Json JsonText(const std::string& text);

// A text, or null for none.
Json JsonText(const std::optional<std::string>& text);

} // namespace cli
