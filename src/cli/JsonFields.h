#pragma once
// A JSON object written field by field into text, laid out as the program's
// other documents are (Output::Document: two blanks an indent, ": " after a
// name): a list of thousands of functions is written without a document
// tree of them first.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cli {

class JsonFields {
public:
    // Opens the object at `depth` levels of nesting, its "{" where `out` ends.
    JsonFields(std::string& out, int depth);

    void Number(std::string_view name, std::int64_t number);
    void Boolean(std::string_view name, bool value);
    void Null(std::string_view name);
    // Text in the system code page, as a UTF-8 string; null for none.
    void Text(std::string_view name, const std::optional<std::string>& text);
    // A string that is UTF-8 already.
    void Utf8(std::string_view name, std::string_view text);

    // Closes the object; once.
    void Close();

private:
    void Name(std::string_view name);

    std::string& out_;
    int depth_;
    bool empty_ = true;
};

// Appends `text`, UTF-8, as a JSON string with its quotes, escaped as the
// JSON library escapes it without ensure_ascii.
void AppendJsonString(std::string& out, std::string_view text);

} // namespace cli
