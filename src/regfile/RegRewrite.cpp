#include "regfile/RegFile.h"

#include "platform/CaseFold.h"
#include "platform/RegNames.h"
#include "regfile/RegValueLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <utility>

namespace tk {

namespace {

// The name that a line in the form written quotes: its start up to and with
// the "=", "name"= or @= (the default value, no name).
std::string UnescapedName(std::string_view lead)
{
    std::string name;
    for (std::size_t i = 1; i + 2 < lead.size(); ++i) {
        i += lead[i] == '\\' ? 1 : 0;
        name += lead[i];
    }
    return name;
}

// Bytes compare as unsigned, as std::string_view compares them: an order of
// the heads never contradicts the order of the names.
std::uint64_t Head(std::string_view folded)
{
    std::uint64_t head = 0;
    const std::size_t bytes = std::min<std::size_t>(8, folded.size());
    for (std::size_t i = 0; i < bytes; ++i)
        head |= std::uint64_t{static_cast<unsigned char>(folded[i])} << (56 - 8 * i);
    return head;
}

} // namespace

void RegRewrittenValues::AddWritten(std::string_view lead, std::string_view name, std::string_view data, bool crLf,
                                    std::vector<std::string> comments)
{
    const std::size_t at = folded_.size();
    folded_.append(name);
    char* const begin = folded_.data() + at;
    char* folded = begin;
    for (std::size_t i = 0; i < name.size(); ++i) {
        // Only \\ and \" are escapes in a line in the form written.
        i += name[i] == '\\' ? 1 : 0;
        *folded++ = FoldCase(name[i]);
    }
    folded_.resize(at + static_cast<std::size_t>(folded - begin));
    Entry& entry = AddFolded(at);
    entry.lead = lead;
    entry.data = data;
    entry.crLf = crLf;
    entry.removes = data == "-";
    if (!comments.empty()) {
        entry.comments = static_cast<std::uint32_t>(comments_.size());
        comments_.push_back(std::move(comments));
    }
}

void RegRewrittenValues::AddParsed(RegFileValueLine line)
{
    const std::size_t at = folded_.size();
    folded_.resize(at + line.name.size());
    std::transform(line.name.begin(), line.name.end(), folded_.begin() + static_cast<std::ptrdiff_t>(at), FoldCase);
    Entry& entry = AddFolded(at);
    entry.removes = !line.value;
    entry.parsed = static_cast<std::uint32_t>(parsed_.size());
    parsed_.push_back({std::move(line.name), std::move(line.value)});
    if (!line.comments.empty()) {
        entry.comments = static_cast<std::uint32_t>(comments_.size());
        comments_.push_back(std::move(line.comments));
    }
}

RegRewrittenValues::Entry& RegRewrittenValues::AddFolded(std::size_t at)
{
    Entry& entry = entries_.emplace_back();
    entry.foldedAt = static_cast<std::uint32_t>(at);
    entry.foldedLength = static_cast<std::uint32_t>(folded_.size() - at);
    entry.head = Head(Folded(entry));
    return entry;
}

template <typename Take>
void RegRewrittenValues::EachName(Take take)
{
    // In the order of a std::map by folded name, as StoredKey keeps them; a
    // name's lines stay in the order they came. Most names differ in their
    // first bytes, which compare as one number.
    order_.resize(entries_.size());
    for (std::uint32_t i = 0; i < order_.size(); ++i)
        order_[i] = {entries_[i].head, i};
    const auto less = [this](const Order& a, const Order& b) {
        if (a.head != b.head)
            return a.head < b.head;
        const int names = Folded(entries_[a.entry]).compare(Folded(entries_[b.entry]));
        return names < 0 || (names == 0 && a.entry < b.entry);
    };
    if (!std::is_sorted(order_.begin(), order_.end(), less))
        std::sort(order_.begin(), order_.end(), less);
    for (std::size_t run = 0, end = 0; run < order_.size(); run = end) {
        const std::uint64_t head = order_[run].head;
        const std::string_view name = Folded(entries_[order_[run].entry]);
        const Entry* first = nullptr;
        const Entry* last = nullptr;
        gathered_.clear();
        for (end = run; end < order_.size() && order_[end].head == head && Folded(entries_[order_[end].entry]) == name;
             ++end) {
            Entry& e = entries_[order_[end].entry];
            if (e.removes) {
                first = last = nullptr;
                gathered_.clear();
                continue;
            }
            first = first ? first : &e;
            last = &e;
            if (e.comments != kNone)
                gathered_.insert(gathered_.end(), std::make_move_iterator(comments_[e.comments].begin()),
                                 std::make_move_iterator(comments_[e.comments].end()));
        }
        if (last != nullptr)
            take(name, *first, *last, gathered_);
    }
}

void RegRewrittenValues::Merge()
{
    std::vector<Entry> merged;
    merged.reserve(entries_.size());
    std::string folded;
    std::vector<Parsed> parsed;
    std::vector<std::vector<std::string>> comments;
    EachName([&](std::string_view name, const Entry& first, const Entry& last, std::vector<std::string>& gathered) {
        // The first line's name, the last line's data.
        Entry& one = merged.emplace_back();
        one.foldedAt = static_cast<std::uint32_t>(folded.size());
        one.foldedLength = static_cast<std::uint32_t>(name.size());
        one.head = first.head;
        folded += name;
        one.lead = first.lead;
        one.data = last.data;
        one.crLf = last.crLf;
        const bool parsedName = first.lead.empty();
        const bool parsedValue = last.parsed != kNone && parsed_[last.parsed].value;
        if (parsedName || parsedValue) {
            one.parsed = static_cast<std::uint32_t>(parsed.size());
            parsed.push_back({parsedName ? std::move(parsed_[first.parsed].name) : std::string(),
                              parsedValue ? std::move(parsed_[last.parsed].value) : std::nullopt});
        }
        if (!gathered.empty()) {
            one.comments = static_cast<std::uint32_t>(comments.size());
            comments.push_back(std::move(gathered));
        }
    });
    entries_ = std::move(merged);
    folded_ = std::move(folded);
    parsed_ = std::move(parsed);
    comments_ = std::move(comments);
}

void RegRewrittenValues::AppendTo(std::string& out)
{
    EachName([&](std::string_view, const Entry& first, const Entry& last, const std::vector<std::string>& comments) {
        if (!comments.empty())
            AppendRegLines(out, comments);
        if (last.parsed != kNone && parsed_[last.parsed].value) {
            const RegValue& value = *parsed_[last.parsed].value;
            AppendRegValueLine(out, first.lead.empty() ? parsed_[first.parsed].name : UnescapedName(first.lead), value);
            return;
        }
        // A line copied whole, its line end with it, is the common case.
        if (!first.lead.empty() && first.lead.data() + first.lead.size() == last.data.data() && last.crLf) {
            out.append(first.lead.data(), first.lead.size() + last.data.size() + 2);
            return;
        }
        if (!first.lead.empty())
            out += first.lead;
        else
            AppendValueName(out, parsed_[first.parsed].name);
        out += last.data;
        out += "\r\n";
    });
    Clear();
}

RegRewrittenValues::Mark RegRewrittenValues::Marked() const
{
    return {entries_.size(), folded_.size(), parsed_.size(), comments_.size()};
}

void RegRewrittenValues::BackTo(const Mark& mark)
{
    entries_.resize(mark.entries);
    folded_.resize(mark.folded);
    parsed_.resize(mark.parsed);
    comments_.resize(mark.comments);
}

void RegRewrittenValues::Clear()
{
    entries_.clear();
    folded_.clear();
    parsed_.clear();
    comments_.clear();
    mergeAt_ = kFirstMerge;
}

void RegRewrittenValues::Expect(std::size_t lines)
{
    // A key in many sections holds a name many times: once its lines are
    // many, they are merged, one a name, so that it holds about its values.
    if (entries_.size() >= mergeAt_) {
        Merge();
        mergeAt_ = std::max(kFirstMerge, 2 * entries_.size());
    }
    // Each section is a call: room for exactly one more section's lines
    // would move every entry each time.
    const std::size_t wanted = entries_.size() + lines;
    if (wanted > entries_.capacity())
        entries_.reserve(std::max(wanted, 2 * entries_.capacity()));
}

} // namespace tk
