#pragma once
// One version of the store's file as the store reads it: the file itself,
// kept open, the index of its key sections (RegFileIndex.h) and the keys
// and values parsed so far. A key's sections are read and parsed when it is
// first needed, or only as far as a value read needs them, and a fault in
// them is found then; the whole text is checked only before it is changed. The text may be followed by a file being imported.
#include "regstore/RegFileIndex.h"
#include "regstore/RegText.h"
#include "regstore/StoredKey.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

namespace regstore {

class RegStoreText {
public:
    // No file, or a file of no bytes: the text that a first change extends.
    static RegStoreText Empty(const std::string& fileName);
    // The store's file, whatever the form and order of its keys.
    static platform::Result<RegStoreText, regfile::RegFileError> Read(RegText file);
    // A text that a change wrote, which is checked and in canonical form:
    // indexed as it is held, then read from `file`, which holds its bytes.
    static RegStoreText Changed(std::string written, RegText file);
    // The store's text with a file to import after it, the file checked
    // whole: the keys read as the store's would once the file is applied to
    // it. The file is indexed once, with the store, and its fault, naming
    // the file and its line, comes before any of the store's, which is left
    // to the change.
    static platform::Result<RegStoreText, regfile::RegFileError> ImportInto(const RegStoreText& store, RegText file);
    // The file that `imported` (ImportInto's text) imports, after another
    // version of the store's text, or another store's.
    static platform::Result<RegStoreText, regfile::RegFileError> WithImport(const RegStoreText& store, const RegStoreText& imported);
    // Whether this is ImportInto's text for this version of `store`.
    bool Imports(const RegStoreText& store) const
    {
        return texts_.size() == 2 && texts_.front() == store.texts_.front();
    }

    const RegFileIndex& Index() const { return index_; }
    const std::string& FileName() const { return texts_.front()->FileName(); }

    // A key, parsed on first use. Its fault names file and line.
    platform::Result<const StoredKey*, regfile::RegFileError> Key(std::size_t key);
    // The key with this identity: null when there is none.
    platform::Result<const StoredKey*, regfile::RegFileError> Find(std::string_view identity);
    // The value of the key named `name`, letter case ignored: null when the
    // key holds none. Only the lines of the key's sections that may name it
    // are parsed, and the value is kept: a read asks for one or two values of
    // a key, which may hold many. A fault in its other values is found when
    // they are read, or before the text is changed. The value pointed to
    // lasts until the next call.
    platform::Result<const platform::RegValue*, regfile::RegFileError> Value(std::size_t key, std::string_view name);
    // Reads the values that Value will be asked for next (key, name) in the
    // file's order, neighbouring sections in one read: thousands of values
    // then cost a few reads of the file, not one each. Only where the
    // outcome is plain: a value of a key in one section, read without fault;
    // Value reads any other itself and tells its fault.
    void ReadAhead(const std::vector<std::pair<std::size_t, std::string_view>>& wanted);
    // A key parsed anew, not kept: with the comments before its sections
    // when `keyComments`, for a rewrite.
    platform::Result<StoredKey, regfile::RegFileError> Build(std::size_t key, bool keyComments) const;
    // The key's path as Build spells it, without parsing its values.
    platform::Result<std::string, regfile::RegFileError> KeyPath(std::size_t key) const;

    // A key as a rewrite of the whole file writes it: its key line and its
    // values in order (`lines`), each line already in the form written copied
    // as it is, and the comments before the store's sections of it when
    // `keyComments`. For a text not in canonical form: a file to import
    // after the store's, say, whose keys are written so without being parsed
    // into values.
    struct RewrittenKey {
        std::string lines;
        std::vector<std::string> comments;
        bool bareRoot = false; // a root without values, which a rewrite leaves out unless it has comments
    };
    platform::Result<RewrittenKey, regfile::RegFileError> Rewritten(std::size_t key, bool keyComments) const;
    // Appends the key as a rewrite of the whole file writes it, after a
    // blank line: its comments, then its lines; a bare root without comments
    // is left out.
    platform::Result<void, regfile::RegFileError> AppendRewritten(std::size_t key, std::string& out) const;

    // Whether every section parses, parsing those not parsed yet without
    // keeping them; the first fault in file order.
    platform::Result<void, regfile::RegFileError> CheckAll();
    // Whether the sections that hold no key's values parse: those that remove
    // keys, and those whose values a later removal takes away. A rewrite
    // builds every key and parses the others so.
    platform::Result<void, regfile::RegFileError> CheckSectionsOfNoKey() const;

    // While it lives, the texts in files are read whole into memory, once,
    // and read from there: a rewrite reads every key, which one read from
    // the file each would cost a system call. A file that cannot be read is
    // left to the reads that need it.
    class WholeInMemory {
    public:
        explicit WholeInMemory(RegStoreText& text);
        ~WholeInMemory();
        WholeInMemory(const WholeInMemory&) = delete;
        WholeInMemory& operator=(const WholeInMemory&) = delete;

    private:
        RegStoreText& text_;
        std::vector<std::shared_ptr<const RegText>> files_;
    };

    // Where a section's key line, values and their comments end: after the
    // line end of its last line that is neither blank nor a comment. What
    // follows up to the next key line belongs to that key (its comments) or
    // to the end of the text.
    platform::Result<std::size_t, regfile::RegFileError> BodyEnd(std::size_t section) const;
    // Where the blank lines and comments before a section's key line start:
    // after the section before, or after its text's first line.
    platform::Result<std::size_t, regfile::RegFileError> LeadStart(std::size_t section) const;

    // Appends the store's bytes from `from` to `to`.
    platform::Result<void, regfile::RegFileError> AppendBytes(std::string& out, std::size_t from, std::size_t to) const;
    // The comment lines after the store's last key, which end a rewrite.
    platform::Result<std::vector<std::string>, regfile::RegFileError> ClosingComments() const;

private:
    RegStoreText(std::vector<std::shared_ptr<const RegText>> texts, RegFileIndex index, std::vector<bool> checked);
    static platform::Result<RegStoreText, regfile::RegFileError> Indexed(std::vector<std::shared_ptr<const RegText>> texts,
                                                      std::vector<bool> checked);

    const RegText& TextOf(std::size_t section) const { return *texts_[index_.sections[section].text]; }
    platform::Result<regfile::RegFileSection, regfile::RegFileError> ParseSection(std::size_t section, std::string_view bytes) const;
    platform::Result<std::vector<std::string>, regfile::RegFileError> Comments(std::size_t text, std::size_t from, std::size_t to) const;
    // Appends the comment lines before a store section's key line.
    platform::Result<void, regfile::RegFileError> AppendLeadComments(std::size_t section, std::vector<std::string>& out) const;
    // The key's path as the sections that made its keys spell it; `spelling`
    // is the key line of the section that spells its last name, when the
    // caller has it parsed.
    // The path is a view that the next call changes.
    platform::Result<std::string_view, regfile::RegFileError> SpelledPath(std::size_t key, std::optional<std::string_view> spelling) const;
    // A view of the text's bytes or of `buffer`.
    platform::Result<std::string_view, regfile::RegFileError> KeyLineSubKey(std::size_t section, std::string& buffer) const;
    // Appends the key as a rewrite writes it to `out`: its key line and
    // values, after a blank line and the comments before the store's
    // sections of it when `separated`; `comments`, if given, gathers those
    // comments. Whether it is a root without values.
    platform::Result<bool, regfile::RegFileError> WriteRewritten(std::size_t key, std::vector<std::string>* comments, bool separated,
                                              std::string& out) const;
    regfile::RegFileError InFile(regfile::RegFileError error, std::size_t section) const;
    // By section: whether a rewrite may copy its value lines, which it does
    // for a key whose values it alone holds.
    std::vector<bool> CopyableSections() const;

    std::vector<std::shared_ptr<const RegText>> texts_;
    RegFileIndex index_;
    std::vector<std::unique_ptr<StoredKey>> keys_; // by key; null until parsed
    std::vector<bool> checked_;                    // by text
    // By section: its value lines are as a rewrite of its key alone writes
    // them, as its check found (CheckRegFileSection).
    std::vector<bool> copied_;
    // The values read one at a time from keys not parsed whole, by key and
    // folded name; empty where the key holds none. A few thousand at most:
    // the next read after them starts anew.
    std::map<std::pair<std::size_t, std::string>, std::optional<platform::RegValue>> values_;
    // The paths spelled last, of a key and the keys above it, outermost
    // first: a rewrite spells keys in key order, each below the one before.
    // Each is the start of the last one's path, to the length noted.
    mutable std::vector<std::pair<std::size_t, std::size_t>> spelled_;
    mutable std::string spelledPath_;
    // A rewrite's gathering of one key after another, kept for its capacity.
    mutable regfile::RegRewrittenValues rewriting_;
    mutable std::deque<std::string> buffers_;
    mutable std::vector<std::string> comments_;
};

} // namespace regstore
