#pragma once
// Where each key's sections lie in the store's text, found in one pass over
// its bytes: key lines are found by searching for '[' at the start of a line,
// and nothing is read but those lines and the lines before the first of them.
// A key's values are parsed only when something needs them.
//
// Any file that parses is indexed: keys in any order, a key in several
// sections, a key without a section of its own below which others lie (it
// exists all the same, as the registry editor makes it), sections that remove
// keys. A file in the form the store writes, "canonical" (keys in the order
// of a rewrite, KeyIdentityLess, each once, each below a root or a key that
// has a section of its own, none removed), has one key per section, in file
// order. For any other file the index adds a table of every key in key order,
// each with the sections that hold its values.
//
// An index may cover a second text after the store's own: a file being
// imported into it, whose sections count as if they followed the store's.
#include "regfile/RegFile.h"
#include "regstore/RegText.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace regstore {

struct RegFileIndex {
    struct Section {
        std::uint32_t header = 0; // where its key line starts, in its text
        std::uint32_t identityAt = 0;
        std::uint32_t identityLength = 0;
        std::uint16_t depth = 0; // key names below the root
        // How many of those names no later section removes: the section
        // holds its key's values when all of them stay.
        std::uint16_t kept = 0;
        std::uint8_t text = 0; // 0: the store's; 1: a file imported into it
        bool removes = false;  // [-KEY]
    };

    struct Text {
        std::size_t size = 0;
        std::size_t preambleEnd = 0; // where its first line ends, after its line end
        std::uint32_t firstSection = 0;
        std::uint32_t endSection = 0;
    };

    // A key of an index that is not canonical.
    struct Key {
        std::uint32_t identityAt = 0; // a key without a section has the start of one below it
        std::uint32_t identityLength = 0;
        // The first section at or below the key that no later one removes
        // above it: its key line spells the key's name.
        std::uint32_t spelledBy = 0;
        std::uint32_t first = 0; // its own sections, at order[first] on
        std::uint32_t count = 0;
    };

    std::vector<Section> sections; // text by text, each in file order
    std::vector<Text> texts;
    std::string identities; // every section's key identity (RegNames.h), one after another
    bool storeCanonical = true; // the store's text taken alone
    std::vector<Key> keys;      // empty when canonical
    std::vector<std::uint32_t> order; // sections that make keys, by identity, then as they come

    bool Canonical() const { return storeCanonical && texts.size() == 1; }

    std::string_view Identity(std::size_t section) const;

    // The keys, in key order: for a canonical index, key k is section k.
    std::size_t KeyCount() const { return Canonical() ? sections.size() : keys.size(); }
    std::string_view KeyIdentity(std::size_t key) const;
    // The first key that comes after `identity` or is it; KeyCount() when none.
    std::size_t KeyLowerBound(std::string_view identity) const;
    std::optional<std::size_t> FindKey(std::string_view identity) const;
    // The section whose key line spells the key's last name.
    std::size_t SpelledBy(std::size_t key) const;
    // The sections that hold the key's values, in the order they come.
    std::vector<std::uint32_t> ValueSections(std::size_t key) const;
    // Whether the imported text changes the key: it has a section of the
    // key, or the key is new, or it removes the store's section of the key.
    bool ChangedByImport(std::size_t key) const;

    // Where the store's own section of the key with this identity is, or
    // would go, in a store whose text is canonical (sections in key order).
    std::size_t StoreLowerBound(std::string_view identity) const;

    // Where a section ends: the next section's header, or its text's end.
    std::size_t End(std::size_t section) const;
};

// Checks each text's first line and the lines before its first key as
// ParseRegFile does, and every key line; the lines inside sections are left
// to be parsed later. The first text is the store's, a second one a file to
// import after it. A fault comes with the part of the index before it, so
// that a fault in the lines of an earlier section can be found first.
struct RegFileIndexFault {
    regfile::RegFileError error;
    RegFileIndex before;
};
platform::Result<RegFileIndex, RegFileIndexFault> IndexRegTexts(std::span<const RegText* const> texts);

} // namespace regstore
