#pragma once
// Where each key's section lies in the store's text, found in one pass over
// its bytes: key lines are found by searching for '[' at the start of a line,
// and nothing is read but those lines and the lines before the first of them.
// A key's values are parsed only when something needs them.
//
// The index serves files like those the store writes, "regular" ones: keys
// in the order of a rewrite (KeyIdentityLess), each once, each below a root or
// a key that has a section of its own, and no section that removes a key.
// Indexing stops at the first sign of any other file; the store then reads
// such a file whole.
#include "regfile/RegFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

struct RegFileIndex {
    struct Section {
        std::size_t header = 0; // where its key line starts
        std::size_t end = 0;    // where the next key line starts, or the end of the text
        std::uint32_t identityAt = 0;
        std::uint32_t identityLength = 0;
    };

    std::vector<Section> sections; // in file order, which is key order
    std::string identities;        // every section's key identity (RegNames.h), one after another
    std::size_t preambleEnd = 0;   // where the first line ends, after its line end
    bool regular = true;

    std::string_view Identity(std::size_t section) const;
    // The first section whose key comes after `identity` or is it; the
    // number of sections when there is none.
    std::size_t LowerBound(std::string_view identity) const;
    std::optional<std::size_t> Find(std::string_view identity) const;

    // In the indexed `text` of a file that parses: where a section's key line,
    // values and their comments end, after the line end of its last line that
    // is neither blank nor a comment. What follows up to the next key line
    // belongs to that key (its comments) or to the end of the file.
    std::size_t BodyEnd(std::string_view text, std::size_t section) const;
    // Where the blank lines and comments before a section's key line start:
    // after the section before, or after the first line.
    std::size_t LeadStart(std::string_view text, std::size_t section) const;
};

// Checks the first line and the lines before the first key as ParseRegFile
// does, and every key line; the lines inside sections are left to be parsed
// later.
Result<RegFileIndex, RegFileError> IndexRegFile(std::string_view text, const std::string& fileName);

// The number of the line that holds the byte at `offset`, as ParseRegFile
// counts lines.
int LineNumberAt(std::string_view text, std::size_t offset);

} // namespace tk
