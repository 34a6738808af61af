#include "regfile/RegFileBytes.h"

#include "platform/Cp1252.h"
#include "regfile/Texts.h"

#include <cstddef>

namespace tk {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// The line, counted as the parser counts them (by LF), of a byte offset into
// UTF-16LE text.
int Utf16LineAt(std::string_view wide, std::size_t offset)
{
    int line = 1;
    for (std::size_t i = 0; i + 1 < wide.size() && i < offset; i += 2)
        if (wide[i] == '\n' && wide[i + 1] == '\0')
            ++line;
    return line;
}

} // namespace

Result<RegFileText, RegFileError> RegFileTextOf(std::string bytes, const std::string& fileName)
{
    if (bytes.starts_with(kUtf8Bom))
        return RegFileError{fileName, 1, tk::Text(text::Utf8File)};
    if (bytes.starts_with(kUtf16BeBom))
        return RegFileError{fileName, 1, tk::Text(text::Utf16BigEndianFile)};
    if (!bytes.starts_with(kUtf16LeBom)) {
        const std::string_view version5 = RegFileHeader(RegFileFormat::Version5);
        if (bytes.starts_with(version5))
            return RegFileError{fileName, 1, tk::Text(text::Version5In8Bit, {version5})};
        return RegFileText{std::move(bytes), RegFileFormat::Regedit4};
    }
    const std::string_view wide = std::string_view(bytes).substr(kUtf16LeBom.size());
    auto text = Utf16LeToCp1252(wide);
    if (!text)
        return RegFileError{fileName, Utf16LineAt(wide, text.Error()), Utf16LeFault(wide, text.Error())};
    return RegFileText{std::move(text.Value()), RegFileFormat::Version5};
}

Result<RegFileDocument, RegFileError> ParseRegFileBytes(std::string_view bytes, const std::string& fileName)
{
    const auto text = RegFileTextOf(std::string(bytes), fileName);
    if (!text)
        return text.Error();
    return ParseRegFile(text.Value().text, fileName, text.Value().format);
}

std::string RegFileBytes(std::string_view text, RegFileFormat format)
{
    if (format == RegFileFormat::Regedit4)
        return std::string(text);
    return std::string(kUtf16LeBom) + Cp1252ToUtf16Le(text);
}

} // namespace tk
