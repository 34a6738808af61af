#pragma once
// The bytes of a registry file on disk and the text the parser reads.
#include "platform/Result.h"
#include "regfile/RegFile.h"

#include <string>
#include <string_view>

namespace regfile {

// A registry file's bytes as the registry editor reads them: in Windows-1252,
// or in UTF-16LE with a byte-order mark, whose characters must all exist in
// Windows-1252. Its first line, "REGEDIT4" or "Windows Registry Editor
// Version 5.00" in either encoding, gives the form. A UTF-8 byte-order mark
// and UTF-16 big-endian are refused at line 1. Lines end with CR LF, LF or a
// CR alone. `wide` as ParseRegFile takes it.
platform::Result<RegFileDocument, RegFileError> ParseRegFileBytes(std::string_view bytes, const std::string& fileName,
                                                                  RegWideText wide = RegWideText::Refuse);

// The step before that parse: the Windows-1252 text of a file's bytes, with
// LF where a CR alone ended a line, and the form its first line names. The
// first line is not checked here: the parse of the text does that.
struct RegFileText {
    std::string text;
    RegFileFormat format = RegFileFormat::Regedit4;
};
platform::Result<RegFileText, RegFileError> RegFileTextOf(std::string bytes, const std::string& fileName);

// RegFileTextOf of a file read a piece at a time, for a file that starts
// with no byte-order mark (StartsWithByteOrderMark): Add appends to `text`
// the whole lines that the bytes so far complete, End what is left; the
// text is then RegFileTextOf's, piece by piece.
class RegFileTextPieces {
public:
    void Add(std::string_view bytes, std::string& text);
    void End(std::string& text);

private:
    std::string rest_; // after the last line end
};

// Whether a file's first bytes (three, or all of a shorter file) are a
// byte-order mark: such a file is read whole, with RegFileTextOf.
bool StartsWithByteOrderMark(std::string_view bytes);

// The form that the first line of a text without a byte-order mark names.
RegFileFormat RegFileFormatOf(std::string_view text);

// The bytes on disk of `text`, a file in `format` in its Windows-1252 form,
// header line included, as ParseRegFileBytes reads them back.
std::string RegFileBytes(std::string_view text, RegFileFormat format);
// The same for a text made a piece at a time: RegFileBytes of the first
// piece, then this of each later one. Each character stands alone in both
// forms, so a piece may end anywhere.
std::string RegFileLaterBytes(std::string_view piece, RegFileFormat format);

} // namespace regfile
