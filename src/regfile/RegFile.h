#pragma once
// The registry editor's text form, REGEDIT4: the store's own file and the
// backup files that saving writes. Parsing only reads text into the structs
// below; applying them to a tree is a separate step.
//
// Accepted: a first line "REGEDIT4"; sections "[ROOT\Key\Sub]" that create a
// key and "[-ROOT\Key]" that remove it with everything below; value lines
// "name"="text" (\\ and \" escaped in name and text), "name"=dword:0000ffff
// (blanks allowed before the digits), "name"=hex:.. (REG_BINARY),
// "name"=hex(N):.. (type N, in hex as the registry editor writes it) and
// "name"=- (remove the value); @ for the default value; a ';' comment after
// the data of a value line; hex data continued after a comma and a trailing
// backslash on the next line that is neither blank nor a comment, a backslash
// that ends the file ending them; comment lines starting with ';'; blank
// lines; CR LF or LF line ends, with or without one after the last line.
// ROOT is one of the five standard root names in any letter case; anything
// else before the first backslash is an error. After that backslash the
// sub-key may not start with another one (an empty key name, which Windows
// refuses); inside it a doubled backslash is one separator.
//
// Strict where the registry editor skips what it cannot read: any bad line
// fails the whole file, named by its first bad line. Among them: a CR without
// an LF (RegFileBytes.h makes such a CR a line end in a file from outside), a
// double quote inside a text that is not escaped, a backslash in a text
// before anything but a backslash or a double quote (but in the store's own
// file, RegFileFormat::Store), anything but a comment
// after the data, a backslash after a hex byte without a comma, a line of hex
// data that is only a backslash.
//
// A comment line belongs to the section or value line that follows it, or to
// the end of the file, so that a rewrite of the store can keep it.
//
// Older backup files quote the value name without escaping anything in it;
// such a name is read as written where the escaped reading does not fit the
// line and no other way of dividing the line fits it or looks quoted.
#include "platform/Registry.h"
#include "platform/Result.h"
#include "regfile/RegEditTarget.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace regfile {

class RegistryTree;

// The most a registry store file may hold, wherever it is read: far beyond
// any registry this program meets, and still a size that can be read into
// memory at once.
inline constexpr std::size_t kMaxRegStoreBytes = std::size_t{256} << 20;

// What the Windows registry refuses, and a file that holds it is refused for:
// a key more levels below its root, a key or value name longer.
inline constexpr std::size_t kMaxRegKeyDepth = 512;
inline constexpr std::size_t kMaxRegKeyNameLength = 255;
inline constexpr std::size_t kMaxRegValueNameLength = 16383;

struct RegFileValueLine {
    int line = 0;                   // 1-based line where the value starts
    std::string name;               // empty for the default value (@)
    std::optional<platform::RegValue> value;  // empty for "name"=-, which removes the value
    std::vector<std::string> comments;
    // Text of a version 5 file that the code page cannot hold, kept as its
    // UTF-16LE bytes (RegWideText::Keep), as ExactRegValue marks it.
    bool utf16 = false;
};

struct RegFileSection {
    int line = 0;
    platform::RegRoot root = platform::RegRoot::CurrentUser;
    std::string subKey;             // as written; empty for the root itself
    bool deleteKey = false;         // [-ROOT\...]
    std::vector<RegFileValueLine> values;
    std::vector<std::string> comments;
};

struct RegFileDocument {
    std::vector<RegFileSection> sections;
    std::vector<std::string> closingComments; // after the last section or value
};

struct RegFileError {
    std::string fileName;
    int line = 0; // 0: the fault is the file's as a whole, of no one line
    std::string reason;

    // "<file>", line <n>: <reason>; "<file>": <reason> for line 0.
    std::string Message() const;
};

// The two forms of the registry editor's files, and the store's own. A
// version 5 file starts with "Windows Registry Editor Version 5.00"; it is
// parsed from its Windows-1252 form (RegFileBytes.h converts it), and its
// hex(1), hex(2) and hex(7) data, UTF-16LE text there, become Windows-1252
// bytes as the ANSI registry functions show them. In REGEDIT4 they are such
// bytes already. Both are read as the registry editor reads them: hex(1),
// hex(2) and hex(7) data that do not end in NUL get one, and a backslash in a
// text before anything but a backslash or a double quote fails the line.
// The store's own file is REGEDIT4 read exactly: every value byte for byte,
// such a backslash standing for itself.
enum class RegFileFormat { Regedit4, Version5, Store };

// The first line of a file in `format`.
std::string_view RegFileHeader(RegFileFormat format);

// What a version 5 file's text that Windows-1252 cannot hold does: fail its
// line, as for everything that writes into the store, or stay UTF-16LE,
// marked, for a reader that can show it or hand it to a registry that holds it.
enum class RegWideText { Refuse, Keep };

// `text` is 8-bit text in Windows-1252; `fileName` only names the file in an
// error.
platform::Result<RegFileDocument, RegFileError> ParseRegFile(std::string_view text, const std::string& fileName,
                                                   RegFileFormat format = RegFileFormat::Store,
                                                   RegWideText wide = RegWideText::Refuse);

// Where a parse hands over each section as soon as it is read, with its
// values and the comments before it, instead of keeping a whole document:
// what is made of a large file's values need not be held beside them. A file
// with a bad line anywhere still fails as a whole, but only after the
// sections before that line were handed over: what the sink made of them is
// to be dropped then.
class RegSectionSink {
public:
    // Before the first section: how many lines may hold a value (an upper
    // bound), so that what holds them can be reserved once.
    virtual void Expect(std::size_t valueLines) = 0;
    virtual void Section(RegFileSection section) = 0;
    // After the last section: the comment lines after its last line.
    virtual void Closing(std::vector<std::string> comments) = 0;

protected:
    ~RegSectionSink() = default;
};

// ParseRegFile, handing each section to `sink` as it is read.
platform::Result<void, RegFileError> ParseRegFileSections(std::string_view text, const std::string& fileName,
                                                RegFileFormat format, RegWideText wide, RegSectionSink& sink);

// Where a parse reads a file's text a piece at a time, so that a large
// file's text is never held whole either.
class RegTextSource {
public:
    // Appends the next piece of the text to `text`; false at the end, when
    // it appends nothing.
    virtual bool More(std::string& text) = 0;

protected:
    ~RegTextSource() = default;
};

// The same parse of the text that `source` gives. `valueLines` is what the
// sink is told to expect: RegFileValueLines of the text, summed over its
// pieces.
platform::Result<void, RegFileError> ParseRegFileSections(RegTextSource& source, std::size_t valueLines,
                                                          const std::string& fileName, RegFileFormat format,
                                                          RegWideText wide, RegSectionSink& sink);

// How many of the whole lines of `text` may hold a value: an upper bound of
// their values.
std::size_t RegFileValueLines(std::string_view text);

// Lines from inside a file, after its first line: the store parses each
// key's section this way when it is first needed. `firstLine` is the number
// of the first of them, for errors.
platform::Result<RegFileDocument, RegFileError> ParseRegFileLines(std::string_view text, int firstLine,
                                                        const std::string& fileName,
                                                        RegFileFormat format = RegFileFormat::Store);
// The same parse, keeping nothing: whether the lines parse.
platform::Result<void, RegFileError> CheckRegFileLines(std::string_view text, int firstLine, const std::string& fileName,
                                             RegFileFormat format = RegFileFormat::Store);
// Of the same lines, the last value line that names `name` (letter case
// ignored), as ParseRegFileLines would read it: its value empty for
// "name"=-; none when no line names it. Only the lines that may name it are
// parsed: a fault in any other line is not looked for, and the store finds it
// before it changes the file.
platform::Result<std::optional<RegFileValueLine>, RegFileError> FindRegFileValue(std::string_view text, int firstLine,
                                                                       const std::string& fileName,
                                                                       RegFileFormat format, std::string_view name);

// The same check of one key's section, from its key line on; true when its
// value lines are exactly what a rewrite writes for them, each line in the
// form written, as it stands (no blanks before it, a CR LF after it), sorted
// by name, each name once, none removing a value, with no blank line or
// comment among them: a rewrite of the key alone may copy them.
platform::Result<bool, RegFileError> CheckRegFileSection(std::string_view text, int firstLine, const std::string& fileName,
                                               RegFileFormat format);

// The values of one key as a rewrite of the store writes them, gathered from
// the key's sections in order (RewriteRegFileLines): sorted by name, a later
// line winning and the first spelling kept, "name"=- removing the value with
// its comments, each value after its comments. A line already in the form
// written (a quoted text, a dword or hex data, escaped and wrapped as written)
// is copied, not parsed into a value, and its name is kept as a view, so a
// rewrite of a large file costs little more than its bytes. The texts it was
// given must outlive it.
class RegRewrittenValues {
public:
    // Appends the value lines, each with its CR LF.
    void AppendTo(std::string& out);

    // For the parser: room for the values of `lines` more lines, and the
    // values. A line in the form written: `lead` its start up to and with
    // the "=", `name` the name as quoted there, `data` what follows the "=",
    // `crLf` whether a CR LF follows the data in the same text, so that the
    // line is copied with it in one piece.
    void Expect(std::size_t lines);
    void AddWritten(std::string_view lead, std::string_view name, std::string_view data, bool crLf,
                    std::vector<std::string> comments);
    void AddParsed(RegFileValueLine line);
    // How far the values go, and back to there: the parser takes back the
    // lines of a section it read in part when it reads the section again.
    struct Mark {
        std::size_t entries = 0;
        std::size_t folded = 0;
        std::size_t parsed = 0;
        std::size_t comments = 0;
    };
    Mark Marked() const;
    void BackTo(const Mark& mark);
    // Forgets every value.
    void Clear();

private:
    static constexpr std::uint32_t kNone = static_cast<std::uint32_t>(-1);
    // Trivially destroyed, so that a key's many lines cost no destructors:
    // what a parsed line or a commented one has besides is kept aside.
    struct Entry {
        std::uint64_t head = 0;     // its folded name's first 8 bytes, big-endian
        std::uint32_t foldedAt = 0; // its folded name in folded_
        std::uint32_t foldedLength = 0;
        std::string_view lead; // the name as written, "name"= or @=; else parsed_'s name
        std::string_view data; // as written, with its CR LF when `crLf`; else parsed_'s value
        std::uint32_t parsed = kNone;   // in parsed_
        std::uint32_t comments = kNone; // in comments_
        bool crLf = false;
        bool removes = false;
    };
    struct Parsed {
        std::string name;
        std::optional<platform::RegValue> value;
    };
    std::string_view Folded(const Entry& entry) const
    {
        return std::string_view(folded_.data() + entry.foldedAt, entry.foldedLength);
    }
    // Adds an entry for a name folded onto the end of folded_ from `at` on.
    Entry& AddFolded(std::size_t at);
    // Each name in order with its first line (its spelling), its last line
    // (its data) and the comments of its lines; names removed last are left
    // out.
    template <typename Take>
    void EachName(Take take);
    // Keeps one entry a name, as EachName gives them.
    void Merge();

    static constexpr std::size_t kFirstMerge = 4096;
    std::size_t mergeAt_ = kFirstMerge;

    std::vector<Entry> entries_;
    // The entries' folded names one after another: one string for them all.
    std::string folded_;
    std::vector<Parsed> parsed_;
    std::vector<std::vector<std::string>> comments_;
    // EachName's order of the entries, kept for its capacity: a rewrite
    // gathers one key after another into the same values.
    struct Order {
        std::uint64_t head;
        std::uint32_t entry;
    };
    std::vector<Order> order_;
    std::vector<std::string> gathered_;
};

// Lines from inside a file, from a key line on, as ParseRegFileLines reads
// them, into `values`; the comments before the values only when
// `keepComments`.
platform::Result<void, RegFileError> RewriteRegFileLines(std::string_view text, int firstLine, const std::string& fileName,
                                               RegFileFormat format, bool keepComments, RegRewrittenValues& values);

// One key line as ParseRegFile reads it, blanks around it allowed, without
// its line end; the sub-key is a view into `line`. The error is the reason,
// without file and line.
struct RegKeyLine {
    platform::RegRoot root = platform::RegRoot::CurrentUser;
    std::string_view subKey;
    bool deleteKey = false;
    std::size_t depth = 0; // key names below the root
};
platform::Result<RegKeyLine, std::string> ParseRegKeyLine(std::string_view line);

// Whether ParseRegFile reads the line after this one, and after any blank
// lines and comment lines that follow it, as more hex data: this line is a
// value line whose hex data end in a backslash, or a line of such data that
// does, before its comment if it has one. The store's index asks it of the
// line above each '[' so as to find the key lines the parser finds.
bool RegLineContinuesHexData(std::string_view line);

// Whether the comment lines go into the tree: the store's own file keeps its
// comments; a file imported into it, a backup say, changes values only.
enum class RegFileComments { Keep, Drop };

// Sections in file order: each creates its key (or removes it), then its
// values are set or removed in order, so a later line wins. Removing a value
// or key that is not there is no error; a root itself is never removed.
// A sub-key that names no key (a parsed document holds none) changes nothing
// at all: BadKeyPath.
platform::RegResult ApplyRegFile(const RegFileDocument& document, RegEditTarget& target, RegFileComments comments);

// The canonical text of a tree: "REGEDIT4", CR LF line ends, keys and values
// in case-insensitive order, every key present even without values (a root
// only when it holds values or comments), each comment line before its key
// or value. REG_SZ as "text" and REG_DWORD as dword:xxxxxxxx where that reads
// back to the same bytes; every other value as hex(N):.. so that any type and
// any bytes survive exactly.
std::string SerialiseRegFile(const RegistryTree& tree);

// The pieces of that text, each with its CR LF: comment lines, a key line
// "[ROOT\Key\Sub]" (`path` with single backslashes, empty for a root), and a
// value line.
void AppendRegLines(std::string& out, const std::vector<std::string>& lines);
void AppendRegKeyLine(std::string& out, platform::RegRoot root, std::string_view path);
void AppendRegValueLine(std::string& out, std::string_view name, const platform::RegValue& value);

} // namespace regfile
