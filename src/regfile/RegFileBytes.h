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

// The bytes on disk of `text`, a file in `format` in its Windows-1252 form,
// header line included, as ParseRegFileBytes reads them back.
std::string RegFileBytes(std::string_view text, RegFileFormat format);

} // namespace regfile
