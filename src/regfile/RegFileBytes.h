#pragma once
// The bytes of a registry file on disk and the text the parser reads.
#include "platform/Result.h"
#include "regfile/RegFile.h"

#include <string>
#include <string_view>

namespace tk {

// A registry file's bytes as the registry editor reads and writes them:
// REGEDIT4 in Windows-1252, or "Windows Registry Editor Version 5.00" in
// UTF-16LE with a byte-order mark, whose characters must all exist in
// Windows-1252. Anything else is refused at line 1: a UTF-8 byte-order mark,
// UTF-16 big-endian, a version 5 header in 8-bit text, another first line.
Result<RegFileDocument, RegFileError> ParseRegFileBytes(std::string_view bytes, const std::string& fileName);

// The step before that parse: the Windows-1252 text of a file's bytes, and
// the form it is in. The version 5 header is not checked here: the parse of
// the text's first line does that.
struct RegFileText {
    std::string text;
    RegFileFormat format = RegFileFormat::Regedit4;
};
Result<RegFileText, RegFileError> RegFileTextOf(std::string bytes, const std::string& fileName);

// The bytes on disk of `text`, a file in `format` in its Windows-1252 form,
// header line included, as ParseRegFileBytes reads them back.
std::string RegFileBytes(std::string_view text, RegFileFormat format);

} // namespace tk
