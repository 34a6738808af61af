#pragma once
// One version of the store's file as the store reads it: its text, the index
// of its key sections (RegFileIndex.h) and the keys parsed so far. A key's
// section is parsed when it is first needed, and a fault in it is found then;
// the whole text is checked only before it is changed.
#include "regstore/RegFileIndex.h"
#include "regstore/StoredKey.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class RegStoreText {
public:
    // No file, or a file of no bytes: the text that a first change extends.
    static RegStoreText Empty(const std::string& fileName);
    // A file's bytes. An irregular file is parsed whole at once and held in
    // the form a rewrite gives it, so its first change rewrites it whole.
    static Result<RegStoreText, RegFileError> Read(std::string text, const std::string& fileName);
    // The text that a change of a checked text made; it is checked too.
    static RegStoreText Changed(std::string text, const std::string& fileName);

    const std::string& Text() const { return text_; }
    const RegFileIndex& Index() const { return index_; }

    // A section's key, parsed on first use. Its fault names file and line.
    Result<const StoredKey*, RegFileError> Key(std::size_t section);
    // The key with this identity: null when it has no section.
    Result<const StoredKey*, RegFileError> Find(std::string_view identity);

    // Whether every section parses, parsing those not parsed yet without
    // keeping them.
    Result<void, RegFileError> CheckAll();

private:
    RegStoreText(std::string text, std::string fileName, RegFileIndex index, bool checked);
    std::string_view SectionText(std::size_t section) const;
    RegFileError InFile(RegFileError error, std::size_t section) const;

    std::string text_;
    std::string fileName_;
    RegFileIndex index_;
    std::vector<std::unique_ptr<StoredKey>> keys_; // by section; null until parsed
    bool checked_ = false;
};

} // namespace tk
