#include "regfile/RegFileBytes.h"

#include "platform/Cp1252.h"

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

Result<RegFileDocument, RegFileError> ParseRegFileBytes(std::string_view bytes, const std::string& fileName)
{
    if (bytes.starts_with(kUtf8Bom))
        return RegFileError{fileName, 1, "the file is UTF-8 with a byte-order mark; a registry file is REGEDIT4 in "
                                         "the Windows code page or version 5.00 in UTF-16LE"};
    if (bytes.starts_with(kUtf16BeBom))
        return RegFileError{fileName, 1, "the file is UTF-16 big-endian; a version 5.00 registry file is UTF-16LE, "
                                         "as the registry editor writes it"};
    if (!bytes.starts_with(kUtf16LeBom)) {
        const std::string_view version5 = RegFileHeader(RegFileFormat::Version5);
        if (bytes.starts_with(version5))
            return RegFileError{fileName, 1, "a \"" + std::string(version5) + "\" file must be UTF-16LE with "
                                             "a byte-order mark, as the registry editor writes it"};
        return ParseRegFile(bytes, fileName, RegFileFormat::Regedit4);
    }
    const std::string_view wide = bytes.substr(kUtf16LeBom.size());
    const auto text = Utf16LeToCp1252(wide);
    if (!text)
        return RegFileError{fileName, Utf16LineAt(wide, text.Error()), Utf16LeFault(wide, text.Error())};
    return ParseRegFile(text.Value(), fileName, RegFileFormat::Version5);
}

std::string RegFileBytes(std::string_view text, RegFileFormat format)
{
    if (format == RegFileFormat::Regedit4)
        return std::string(text);
    return std::string(kUtf16LeBom) + Cp1252ToUtf16Le(text);
}

} // namespace tk
