#pragma once
// The messages of the registry-file format (keys 1100-1199): why a line of a
// .reg file was refused. RegFileError::Message puts file and line before them.
// Key 2406: the mark of a shown REG_EXPAND_SZ.
#include "platform/Texts.h"

namespace regfile {

namespace text {

// %1 the quoted text of a REG_EXPAND_SZ, whose %NAME% parts Windows expands.
inline constexpr platform::TextId ExpandableText{2406, "%1 (expandable)"};

inline constexpr platform::TextId RegFileAtLine{1100, "\"%1\", line %2: %3"};
inline constexpr platform::TextId RegFileWhole{1101, "\"%1\": %2"};

inline constexpr platform::TextId LoneCr{
    1102, "a carriage return (CR) that no line feed follows; lines end with CR LF or LF"};
inline constexpr platform::TextId FirstLineMustBe{1103, "the first line must be \"%1\""};
inline constexpr platform::TextId ExpectedKeyOrValue{1104, "expected a [key] line or a value line, not %1"};
inline constexpr platform::TextId ValueBeforeFirstKey{1105, "a value line before the first [key] line"};
inline constexpr platform::TextId ValueInRemovedKey{1106, "a value line in a section that removes its key"};
inline constexpr platform::TextId ValueLineShape{1107, "a value line must read \"name\"=data or @=data"};

inline constexpr platform::TextId UnescapedQuote{1110, "the text %1 holds a double quote that is not escaped as \\\""};
inline constexpr platform::TextId AfterClosingQuote{1111, "%1 follows the closing double quote of the text"};
inline constexpr platform::TextId NoClosingQuote{1112, "the text %1 lacks its closing double quote"};
inline constexpr platform::TextId BadHexByte{1113, "hex data hold %1 where two hex digits belong"};
inline constexpr platform::TextId AnEmptyByte{1114, "an empty byte"};
inline constexpr platform::TextId BadDword{1115, "dword data need 1 to 8 hex digits, not %1"};
inline constexpr platform::TextId BadHexType{1116, "hex(N) needs a type number of 1 to 8 hex digits in %1"};
inline constexpr platform::TextId ColonMissing{1117, "a colon must follow %1"};
inline constexpr platform::TextId UnknownData{1118, "unknown data %1; expected \"text\", dword:, hex:, hex(N): or -"};
inline constexpr platform::TextId Version5TextData{1120, "hex(%1) data of a version 5 file are UTF-16 text: %2"};

inline constexpr platform::TextId KeyLineEnd{1130, "a key line must end with ]"};
inline constexpr platform::TextId UnknownRoot{
    1131, "unknown root %1; a key starts with HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS "
          "or HKEY_CURRENT_CONFIG"};
inline constexpr platform::TextId EmptyFirstKeyName{
    1132, "an empty key name follows %1: one backslash separates the root from its first key"};
inline constexpr platform::TextId RootCannotBeRemoved{1133, "a root key such as %1 cannot be deleted"};
// The limits of the Windows registry, which refuses more.
inline constexpr platform::TextId KeyTooDeep{
    1134, "the key is %1 levels deep; the registry holds keys at most 512 levels below a root"};
inline constexpr platform::TextId KeyNameTooLong{
    1135, "the key name %1 has %2 characters; a key name has at most 255"};
inline constexpr platform::TextId ValueNameTooLong{
    1136, "the value name %1 has %2 characters; a value name has at most 16,383"};

inline constexpr platform::TextId Utf8File{
    1140, "the file is UTF-8 with a byte-order mark; a registry file is in the Windows code page or in UTF-16LE with a "
          "byte-order mark"};
inline constexpr platform::TextId Utf16BigEndianFile{
    1141, "the file is UTF-16 big-endian; a version 5.00 registry file is UTF-16LE, as the registry editor writes it"};

// Lines that the registry editor skips, refused here with the whole file.
inline constexpr platform::TextId UnknownEscape{
    2200, "the text %1 holds the escape %2; a backslash escapes only a backslash or a double quote"};
inline constexpr platform::TextId OnlyBackslash{2201, "a line of hex data holds nothing but the backslash"};
inline constexpr platform::TextId BackslashAfterByte{2202, "a backslash continues hex data only after a comma"};

} // namespace text

} // namespace regfile
