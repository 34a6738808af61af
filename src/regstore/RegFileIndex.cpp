#include "regstore/RegFileIndex.h"

#include "platform/RegNames.h"
#include "regfile/RegLines.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tk {

namespace {

using reglines::IsBlank;
using reglines::LineText;
using reglines::Trim;

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

bool BlankOrLineEnd(char c)
{
    return IsBlank(c) || c == '\r' || c == '\n';
}

// Where the line that holds the byte before `end` starts: after the line end
// before it, or at 0. Value lines run to dozens of bytes, and the look-back
// passes them a word at a time.
std::size_t LineStart(std::string_view piece, std::size_t end)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    std::size_t at = end;
    for (; at >= 8; at -= 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, piece.data() + at - 8, sizeof word);
        word ^= kOnes * '\n'; // a line end becomes a zero byte
        if (((word - kOnes) & ~word & kHighs) != 0)
            break;
    }
    while (at > 0 && piece[at - 1] != '\n')
        --at;
    return at;
}

// Whether the line that starts at `start` is taken for more hex data of the
// value above it: the nearest line above that is neither blank nor a comment
// continues hex data (RegLineContinuesHexData). ParseRegFile reads such a
// line as hex data even when it starts with '['. `before` is that answer at
// the piece's start.
bool ContinuesHexData(std::string_view piece, std::size_t start, bool before)
{
    for (std::size_t end = start;;) {
        std::size_t last = end;
        while (last > 0 && BlankOrLineEnd(piece[last - 1]))
            --last;
        if (last == 0)
            return before;
        const std::size_t lineStart = LineStart(piece, last);
        const std::string_view line = Trim(piece.substr(lineStart, last - lineStart));
        if (line.front() != ';')
            return RegLineContinuesHexData(line);
        end = lineStart;
    }
}

// How many bytes two identities share from their start, knowing that they
// share `from`; eight at a time, as neighbouring keys share long paths.
std::size_t CommonLength(std::string_view a, std::string_view b, std::size_t from = 0)
{
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t i = from;
    while (i + 8 <= shorter && std::memcmp(a.data() + i, b.data() + i, 8) == 0)
        i += 8;
    while (i < shorter && a[i] == b[i])
        ++i;
    return i;
}

// KeyIdentityLess of two identities that share their first `common` bytes
// and differ after them, or one of which ends there.
bool LessAfter(std::string_view a, std::string_view b, std::size_t common)
{
    if (common == a.size() || common == b.size())
        return a.size() < b.size();
    // The separator sorts first, so that a key's subkeys come right after it.
    if (a[common] == '\\' || b[common] == '\\')
        return a[common] == '\\';
    return static_cast<unsigned char>(a[common]) < static_cast<unsigned char>(b[common]);
}

// Indexes the texts one after another, each a piece at a time.
class Indexer {
public:
    explicit Indexer(RegFileIndex& index) : index_(index) {}

    Result<void, RegFileError> Index(const RegText& text)
    {
        text_ = &text;
        RegFileIndex::Text part;
        part.size = text.Size();
        part.firstSection = part.endSection = static_cast<std::uint32_t>(index_.sections.size());
        index_.texts.push_back(part);
        inPreamble_ = true;
        continuesBefore_ = false;
        ancestors_.clear();
        // A text of no bytes has no pieces, and still no first line.
        if (text.Size() == 0)
            return Piece({}, 0);
        if (auto indexed = text.ForEachPiece([this](std::string_view bytes, std::size_t at) { return Piece(bytes, at); });
            !indexed)
            return indexed;
        return {};
    }

private:
    RegFileIndex::Text& Part() { return index_.texts.back(); }

    // The start of the first key line at or after `from`, itself the start
    // of a line; kNone when none follows in the piece.
    std::size_t NextKeyLine(std::string_view piece, std::size_t from) const
    {
        for (std::size_t bracket = piece.find('[', from); bracket != std::string_view::npos;
             bracket = piece.find('[', bracket + 1)) {
            std::size_t start = bracket;
            while (start > from && IsBlank(piece[start - 1]))
                --start;
            if ((start == 0 || piece[start - 1] == '\n') && !ContinuesHexData(piece, start, continuesBefore_))
                return start;
        }
        return kNone;
    }

    Result<void, RegFileError> Preamble(std::string_view lines, std::size_t offset)
    {
        if (offset == 0) {
            const std::size_t firstLineEnd = lines.find('\n');
            Part().preambleEnd = firstLineEnd == std::string_view::npos ? lines.size() : firstLineEnd + 1;
            if (auto parsed = ParseRegFile(lines, text_->FileName(), text_->Format()); !parsed)
                return parsed.Error();
            return {};
        }
        if (auto checked = CheckRegFileLines(lines, text_->LineAt(offset), text_->FileName(), text_->Format());
            !checked)
            return checked.Error();
        return {};
    }

    Result<void, RegFileError> Piece(std::string_view piece, std::size_t offset)
    {
        const std::size_t firstLineEnd = piece.find('\n');
        const std::size_t from = offset > 0 ? 0 : firstLineEnd == std::string_view::npos ? piece.size() : firstLineEnd + 1;
        std::size_t at = NextKeyLine(piece, from);
        if (inPreamble_) {
            if (auto preamble = Preamble(piece.substr(0, std::min(at, piece.size())), offset); !preamble)
                return preamble;
            inPreamble_ = at == kNone;
        }
        while (at != kNone) {
            const std::size_t lineEnd = std::min(piece.find('\n', at), piece.size());
            if (auto added = AddSection(LineText(piece, at, lineEnd), offset + at); !added) {
                // The text indexed ends before the line at fault.
                Part().size = offset + at;
                return added;
            }
            at = NextKeyLine(piece, std::min(lineEnd + 1, piece.size()));
        }
        continuesBefore_ = ContinuesHexData(piece, piece.size(), continuesBefore_);
        return {};
    }

    Result<void, RegFileError> AddSection(std::string_view line, std::size_t at)
    {
        const auto key = ParseRegKeyLine(line);
        if (!key)
            return RegFileError{text_->FileName(), text_->LineAt(at), key.Error()};
        const std::size_t identityAt = index_.identities.size();
        static_cast<void>(AppendKeyIdentity(index_.identities, key.Value().root, key.Value().subKey));
        const std::string_view identity = std::string_view(index_.identities).substr(identityAt);
        const auto depth = static_cast<std::uint16_t>(key.Value().depth);
        if (index_.texts.size() == 1 && index_.storeCanonical)
            index_.storeCanonical = FollowsInCanonicalForm(identity, key.Value().deleteKey);
        RegFileIndex::Section section;
        section.header = static_cast<std::uint32_t>(at);
        section.identityAt = static_cast<std::uint32_t>(identityAt);
        section.identityLength = static_cast<std::uint32_t>(identity.size());
        section.depth = section.kept = depth;
        section.text = static_cast<std::uint8_t>(index_.texts.size() - 1);
        section.removes = key.Value().deleteKey;
        index_.sections.push_back(section);
        ++Part().endSection;
        return {};
    }

    // Whether the store's text, canonical so far, stays so with this key:
    // compared with the key before it once, where its parent must be one of
    // the keys above that one, or that one.
    bool FollowsInCanonicalForm(std::string_view identity, bool removes)
    {
        if (removes)
            return false;
        if (index_.sections.empty()) {
            ancestors_.assign(1, identity.size());
            return identity.find('\\', 2) == std::string_view::npos;
        }
        const std::string_view previous = index_.Identity(index_.sections.size() - 1);
        const std::size_t common = CommonLength(previous, identity);
        const bool inOrder = LessAfter(previous, identity, common);
        // The keys above this one among those above the last one, and that one.
        while (!ancestors_.empty() && !(ancestors_.back() <= common && ancestors_.back() < identity.size() &&
                                        identity[ancestors_.back()] == '\\'))
            ancestors_.pop_back();
        // The key's parent is the nearest of them (the root, without one) when
        // no separator follows the one after it.
        const std::size_t nearest = ancestors_.empty() ? 1 : ancestors_.back();
        const bool parentKnown = identity.find('\\', nearest + 1) == std::string_view::npos;
        ancestors_.push_back(identity.size());
        return inOrder && parentKnown;
    }

    RegFileIndex& index_;
    const RegText* text_ = nullptr;
    bool inPreamble_ = true;
    // At the start of the next piece: whether a line there would continue
    // hex data.
    bool continuesBefore_ = false;
    // The lengths of the identities of the keys with a section that the
    // last one lies below, and of its own, innermost last.
    std::vector<std::size_t> ancestors_;
};

// The last removal of each key removed, by identity.
class Removals {
public:
    explicit Removals(const RegFileIndex& index)
    {
        for (std::size_t s = 0; s < index.sections.size(); ++s)
            if (index.sections[s].removes)
                last_.emplace_back(index.Identity(s), s);
        std::stable_sort(last_.begin(), last_.end(),
                         [](const auto& a, const auto& b) { return KeyIdentityLess(a.first, b.first); });
    }

    bool Empty() const { return last_.empty(); }

    // The last section that removes the key, or kNone.
    std::size_t LastOf(std::string_view identity) const
    {
        const auto less = [](const auto& entry, std::string_view id) { return KeyIdentityLess(entry.first, id); };
        auto it = std::lower_bound(last_.begin(), last_.end(), identity, less);
        std::size_t last = kNone;
        for (; it != last_.end() && it->first == identity; ++it)
            last = it->second;
        return last;
    }

private:
    std::vector<std::pair<std::string_view, std::size_t>> last_;
};

// One level of the walk over the sorted sections: a key on the path to the
// section walked.
struct Level {
    std::size_t length = 0;   // of the key's identity, a prefix of the section's
    std::uint16_t depth = 0;
    std::size_t removedAt = kNone; // its last removal
    std::size_t key = kNone;       // in the key table, once some section makes it
    std::size_t runFirst = 0;      // its own sections in the order
    std::size_t runCount = 0;
};

// The key table of an index that is not canonical: one walk over the
// sections in key order, the keys on the path of each kept on a stack.
class KeyTable {
public:
    explicit KeyTable(RegFileIndex& index) : index_(index), removals_(index) {}

    void Build()
    {
        // Sorted with their identities at hand; stable, so that a key's own
        // sections stay in the order they come.
        struct Entry {
            std::string_view identity;
            std::uint32_t section;
        };
        std::vector<Entry> entries;
        entries.reserve(index_.sections.size());
        for (std::uint32_t s = 0; s < index_.sections.size(); ++s)
            if (!index_.sections[s].removes)
                entries.push_back({index_.Identity(s), s});
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return KeyIdentityLess(a.identity, b.identity); });
        index_.order.reserve(entries.size());
        for (const Entry& entry : entries)
            index_.order.push_back(entry.section);
        index_.keys.reserve(KeysAtMost());
        std::string_view previous;
        for (std::size_t i = 0; i < index_.order.size(); ++i) {
            const std::size_t s = index_.order[i];
            const std::string_view identity = index_.Identity(s);
            Descend(previous, identity);
            previous = identity;
            Level& own = levels_.back();
            if (own.runCount++ == 0)
                own.runFirst = i;
            RegFileIndex::Section& section = index_.sections[s];
            section.kept = Kept(s, section.depth);
            for (std::size_t l = 0; l <= section.kept; ++l)
                Make(levels_[l], s);
        }
        while (!levels_.empty())
            Pop();
    }

private:
    // As many keys as the walk can make: the levels of each section's key
    // that the one before it in key order does not share. Grown by doubling
    // instead, the table of a large file would take up to twice its size.
    std::size_t KeysAtMost() const
    {
        std::size_t count = 0;
        std::string_view previous;
        for (const std::uint32_t s : index_.order) {
            const std::string_view identity = index_.Identity(s);
            // A level ends before each backslash and at the end. Those that
            // end before the two differ are shared, and the one ending there
            // if the previous key is that level.
            const std::size_t common = CommonLength(previous, identity);
            const bool sharedThere =
                common == previous.size() && (common == identity.size() || identity[common] == '\\');
            count += static_cast<std::size_t>(std::count(identity.begin() + static_cast<std::ptrdiff_t>(common),
                                                         identity.end(), '\\'))
                + (sharedThere ? 0 : 1);
            previous = identity;
        }
        return count;
    }

    // Leaves the keys that are not above `identity` or it, and enters those
    // that are, down to it.
    void Descend(std::string_view previous, std::string_view identity)
    {
        const std::size_t common = CommonLength(previous, identity);
        while (!levels_.empty()) {
            const std::size_t length = levels_.back().length;
            if (length < common || (length == common && (identity.size() == length || identity[length] == '\\')))
                break;
            Pop();
        }
        std::size_t length = levels_.empty() ? 0 : levels_.back().length;
        while (length < identity.size()) {
            const std::size_t next = levels_.empty() ? 1 : std::min(identity.find('\\', length + 1), identity.size());
            Level level;
            level.length = next;
            level.depth = static_cast<std::uint16_t>(levels_.size());
            if (!removals_.Empty())
                level.removedAt = removals_.LastOf(identity.substr(0, next));
            levels_.push_back(level);
            length = next;
        }
    }

    // How many key names of the section at `s` no later section removes.
    std::uint16_t Kept(std::size_t s, std::uint16_t depth) const
    {
        for (std::size_t l = 1; l < levels_.size() && l <= depth; ++l)
            if (levels_[l].removedAt != kNone && levels_[l].removedAt > s)
                return static_cast<std::uint16_t>(l - 1);
        return depth;
    }

    void Make(Level& level, std::size_t s)
    {
        if (level.key == kNone) {
            level.key = index_.keys.size();
            RegFileIndex::Key key;
            key.identityAt = index_.sections[s].identityAt;
            key.identityLength = static_cast<std::uint32_t>(level.length);
            key.spelledBy = static_cast<std::uint32_t>(s);
            index_.keys.push_back(key);
            return;
        }
        RegFileIndex::Key& key = index_.keys[level.key];
        key.spelledBy = std::min(key.spelledBy, static_cast<std::uint32_t>(s));
    }

    void Pop()
    {
        const Level& level = levels_.back();
        if (level.key != kNone) {
            index_.keys[level.key].first = static_cast<std::uint32_t>(level.runFirst);
            index_.keys[level.key].count = static_cast<std::uint32_t>(level.runCount);
        }
        levels_.pop_back();
    }

    RegFileIndex& index_;
    Removals removals_;
    std::vector<Level> levels_;
};

} // namespace

std::string_view RegFileIndex::Identity(std::size_t section) const
{
    const Section& s = sections[section];
    return std::string_view(identities).substr(s.identityAt, s.identityLength);
}

std::string_view RegFileIndex::KeyIdentity(std::size_t key) const
{
    if (Canonical())
        return Identity(key);
    const Key& k = keys[key];
    return std::string_view(identities).substr(k.identityAt, k.identityLength);
}

std::size_t RegFileIndex::KeyLowerBound(std::string_view identity) const
{
    // Every key between two shares with `identity` what both of them share
    // with it: that much of each comparison is known before it is made.
    std::size_t low = 0;
    std::size_t high = KeyCount();
    std::size_t lowCommon = 0;  // with the key before `low`
    std::size_t highCommon = 0; // with the key at `high`
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const std::string_view key = KeyIdentity(middle);
        const std::size_t common = CommonLength(key, identity, std::min(lowCommon, highCommon));
        if (LessAfter(key, identity, common)) {
            low = middle + 1;
            lowCommon = common;
        } else {
            high = middle;
            highCommon = common;
        }
    }
    return low;
}

std::optional<std::size_t> RegFileIndex::FindKey(std::string_view identity) const
{
    const std::size_t at = KeyLowerBound(identity);
    if (at == KeyCount() || KeyIdentity(at) != identity)
        return std::nullopt;
    return at;
}

std::size_t RegFileIndex::SpelledBy(std::size_t key) const
{
    return Canonical() ? key : keys[key].spelledBy;
}

std::vector<std::uint32_t> RegFileIndex::ValueSections(std::size_t key) const
{
    if (Canonical())
        return {static_cast<std::uint32_t>(key)};
    std::vector<std::uint32_t> found;
    const Key& k = keys[key];
    for (std::size_t i = k.first; i < k.first + k.count; ++i)
        if (sections[order[i]].kept == sections[order[i]].depth)
            found.push_back(order[i]);
    return found;
}

bool RegFileIndex::ChangedByImport(std::size_t key) const
{
    if (Canonical())
        return false;
    const Key& k = keys[key];
    bool storeHolds = false;
    for (std::size_t i = k.first; i < k.first + k.count; ++i) {
        const Section& s = sections[order[i]];
        if (s.text != 0)
            return true;
        storeHolds = s.kept == s.depth;
    }
    return !storeHolds;
}

std::size_t RegFileIndex::StoreLowerBound(std::string_view identity) const
{
    std::size_t low = texts.empty() ? 0 : texts[0].firstSection;
    std::size_t high = texts.empty() ? 0 : texts[0].endSection;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (KeyIdentityLess(Identity(middle), identity))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::size_t RegFileIndex::End(std::size_t section) const
{
    const Text& text = texts[sections[section].text];
    return section + 1 < text.endSection ? sections[section + 1].header : text.size;
}

Result<RegFileIndex, RegFileIndexFault> IndexRegTexts(std::span<const RegText* const> texts)
{
    RegFileIndex index;
    Indexer indexer(index);
    for (const RegText* text : texts)
        if (auto indexed = indexer.Index(*text); !indexed)
            return RegFileIndexFault{indexed.Error(), std::move(index)};
    if (!index.Canonical())
        KeyTable(index).Build();
    return index;
}

} // namespace tk
