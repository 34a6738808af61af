#pragma once
// The translation table: the texts of one language, by integer key, read from
// the section of that language in the translation file.
#include "util/PowerClass.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace i18n {

struct TranslationEntry {
    std::int32_t key = 0;
    std::string text;
};

// The entries of the section whose header line equals code, in the order of
// their lines; std::nullopt when no line of the text is that header. An empty
// code names no section. The section ends at its "[EOL]" line or at the end of
// the text.
std::optional<std::vector<TranslationEntry>> ParseTranslationSection(std::string_view text, const std::string& code);
// The same from the file at path, read until the section ends.
std::optional<std::vector<TranslationEntry>> ReadTranslationSection(const std::string& path, const std::string& code);

// The translation file: the application folder's file named after the
// "Product ID" setting, followed by "trl.ini".
std::string TranslationPath(const util::PowerClass& power);

class CTranslation {
public:
    util::PowerClass power;

    // Reads the section that the "Language" setting names ("[1033]" when the
    // file lacks it) and puts it in place of the current entries. Throws
    // platform::CFileException, keeping the current entries, when a file cannot be
    // read or neither section is in the translation file.
    void Load();

    // The text of the first entry with key, or "#<key>" so that a missing text
    // shows on screen instead of leaving a blank.
    std::string Lookup(int key) const;
    bool Has(int key) const;
    // The text of the entry with key; none when the section lacks it.
    std::optional<std::string> Find(int key) const;
    // The section that Load read, such as "[1031]"; empty before.
    const std::string& Section() const { return section_; }

    // The section that follows the system's default language: its code when
    // the file at path has that section (after mapping dialects to their base
    // language), else "[1033]".
    std::string ResolveLanguage(const std::string& path);

private:
    // The section's texts one after another, and where each entry's lies, by
    // key: a few allocations for a section of thousands of entries.
    struct Entry {
        std::int32_t key;
        std::uint32_t at;
        std::uint32_t size;
    };
    const Entry* FindEntry(int key) const;
    std::string TextOf(const Entry& entry) const;

    std::string texts_;
    std::vector<Entry> entries_; // in key order, a key's entries in file order
    std::string section_;
};

} // namespace i18n
