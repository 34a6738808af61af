#include "regfile/RegFileBytes.h"

#include "platform/Cp1252.h"
#include "regfile/RegLines.h"
#include "regfile/Texts.h"

#include <algorithm>
#include <cstddef>

namespace regfile {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// The line of a byte offset into UTF-16LE text, counted as the text's lines
// are once its line ends are LF (WithLineFeeds).
int Utf16LineAt(std::string_view wide, std::size_t offset)
{
    int line = 1;
    for (std::size_t i = 0; i + 1 < wide.size() && i < offset; i += 2) {
        if (wide[i + 1] != '\0')
            continue;
        const bool cr = wide[i] == '\r' && !(i + 3 < wide.size() && wide[i + 2] == '\n' && wide[i + 3] == '\0');
        line += wide[i] == '\n' || cr ? 1 : 0;
    }
    return line;
}

// The registry editor ends a line at a CR that no LF follows too; the parser
// takes CR LF and LF, so such a CR becomes an LF and the lines keep their
// numbers. Only the CRs before `end`: the text may go on after it.
void WithLineFeeds(std::string& text, std::size_t end = std::string::npos)
{
    for (std::size_t cr = text.find('\r'); cr < std::min(end, text.size()); cr = text.find('\r', cr + 1))
        if (cr + 1 == text.size() || text[cr + 1] != '\n')
            text[cr] = '\n';
}

// The first line names the form, whatever the file's encoding: the registry
// editor reads the file's characters first and its header then. A first line
// that is neither is left for the parse to refuse in the encoding's usual form.
RegFileFormat FormatOf(std::string_view text, RegFileFormat usual)
{
    const std::string_view first = reglines::Trim(text.substr(0, text.find_first_of("\r\n")));
    for (const RegFileFormat format : {RegFileFormat::Regedit4, RegFileFormat::Version5})
        if (first == RegFileHeader(format))
            return format;
    return usual;
}

} // namespace

platform::Result<RegFileText, RegFileError> RegFileTextOf(std::string bytes, const std::string& fileName)
{
    if (bytes.starts_with(kUtf8Bom))
        return RegFileError{fileName, 1, platform::Text(text::Utf8File)};
    if (bytes.starts_with(kUtf16BeBom))
        return RegFileError{fileName, 1, platform::Text(text::Utf16BigEndianFile)};
    RegFileText file;
    if (bytes.starts_with(kUtf16LeBom)) {
        const std::string_view wide = std::string_view(bytes).substr(kUtf16LeBom.size());
        auto text = platform::Utf16LeToCp1252(wide);
        if (!text)
            return RegFileError{fileName, Utf16LineAt(wide, text.Error()), platform::Utf16LeFault(wide, text.Error())};
        file.text = std::move(text.Value());
        file.format = FormatOf(file.text, RegFileFormat::Version5);
    } else {
        file.text = std::move(bytes);
        file.format = FormatOf(file.text, RegFileFormat::Regedit4);
    }
    WithLineFeeds(file.text);
    return file;
}

void RegFileTextPieces::Add(std::string_view bytes, std::string& text)
{
    rest_.append(bytes);
    // A CR last may be the first half of a CR LF: it waits for the next bytes.
    const std::size_t complete = rest_.size() - (rest_.ends_with('\r') ? 1 : 0);
    WithLineFeeds(rest_, complete);
    const std::size_t lineFeed = complete == 0 ? std::string::npos : rest_.rfind('\n', complete - 1);
    if (lineFeed == std::string::npos)
        return;
    text.append(rest_, 0, lineFeed + 1);
    rest_.erase(0, lineFeed + 1);
}

void RegFileTextPieces::End(std::string& text)
{
    WithLineFeeds(rest_);
    text += rest_;
    rest_.clear();
}

bool StartsWithByteOrderMark(std::string_view bytes)
{
    return bytes.starts_with(kUtf8Bom) || bytes.starts_with(kUtf16BeBom) || bytes.starts_with(kUtf16LeBom);
}

RegFileFormat RegFileFormatOf(std::string_view text)
{
    return FormatOf(text, RegFileFormat::Regedit4);
}

platform::Result<RegFileDocument, RegFileError> ParseRegFileBytes(std::string_view bytes, const std::string& fileName,
                                                                  RegWideText wide)
{
    const auto text = RegFileTextOf(std::string(bytes), fileName);
    if (!text)
        return text.Error();
    return ParseRegFile(text.Value().text, fileName, text.Value().format, wide);
}

std::string RegFileBytes(std::string_view text, RegFileFormat format)
{
    if (format != RegFileFormat::Version5)
        return std::string(text);
    return std::string(kUtf16LeBom) + RegFileLaterBytes(text, format);
}

std::string RegFileLaterBytes(std::string_view piece, RegFileFormat format)
{
    return format == RegFileFormat::Version5 ? platform::Cp1252ToUtf16Le(piece) : std::string(piece);
}

} // namespace regfile
