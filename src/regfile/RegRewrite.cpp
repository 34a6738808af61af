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

namespace regfile {

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

} // namespace

void RegRewrittenValues::AddWritten(std::string_view lead, std::string_view name, std::string_view data,
                                    std::vector<std::string> comments)
{
    Entry& entry = entries_.emplace_back();
    entry.foldedAt = folded_.size();
    folded_.resize(folded_.size() + name.size());
    char* folded = folded_.data() + entry.foldedAt;
    for (std::size_t i = 0; i < name.size(); ++i) {
        // Only \\ and \" are escapes in a line in the form written.
        i += name[i] == '\\' ? 1 : 0;
        *folded++ = platform::FoldCase(name[i]);
    }
    entry.foldedLength = static_cast<std::size_t>(folded - (folded_.data() + entry.foldedAt));
    folded_.resize(entry.foldedAt + entry.foldedLength);
    entry.lead = lead;
    entry.removes = data == "-";
    entry.data = data;
    entry.comments = std::move(comments);
}

void RegRewrittenValues::AddParsed(RegFileValueLine line)
{
    Entry& entry = entries_.emplace_back();
    entry.foldedAt = folded_.size();
    entry.foldedLength = line.name.size();
    folded_.resize(folded_.size() + line.name.size());
    std::transform(line.name.begin(), line.name.end(), folded_.begin() + static_cast<std::ptrdiff_t>(entry.foldedAt),
                   platform::FoldCase);
    entry.name = std::move(line.name);
    entry.removes = !line.value;
    entry.value = std::move(line.value);
    entry.comments = std::move(line.comments);
}

std::string_view RegRewrittenValues::Folded(const Entry& entry) const
{
    return std::string_view(folded_).substr(entry.foldedAt, entry.foldedLength);
}

void RegRewrittenValues::EachName(const NameTaker& take)
{
    // In the order of a std::map by folded name, as StoredKey keeps them; a
    // name's lines stay in the order they came.
    std::vector<std::pair<std::string_view, std::uint32_t>> order(entries_.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = {Folded(entries_[i]), i};
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        const int names = a.first.compare(b.first);
        return names < 0 || (names == 0 && a.second < b.second);
    });
    std::vector<std::string> comments;
    for (std::size_t run = 0, end = 0; run < order.size(); run = end) {
        const std::string_view name = order[run].first;
        Entry* first = nullptr;
        Entry* last = nullptr;
        comments.clear();
        for (end = run; end < order.size() && order[end].first == name; ++end) {
            Entry& e = entries_[order[end].second];
            if (e.removes) {
                first = last = nullptr;
                comments.clear();
                continue;
            }
            first = first ? first : &e;
            last = &e;
            comments.insert(comments.end(), std::make_move_iterator(e.comments.begin()),
                            std::make_move_iterator(e.comments.end()));
        }
        if (last != nullptr)
            take(name, *first, *last, comments);
    }
}

void RegRewrittenValues::Merge()
{
    std::vector<Entry> merged;
    merged.reserve(entries_.size());
    std::string folded;
    EachName([&](std::string_view name, Entry& first, Entry& last, std::vector<std::string>& comments) {
        // The first line's name, the last line's data.
        Entry& one = merged.emplace_back();
        one.foldedAt = folded.size();
        one.foldedLength = name.size();
        folded += name;
        one.lead = first.lead;
        one.name = std::move(first.name);
        one.value = std::move(last.value);
        one.data = last.data;
        one.comments = std::move(comments);
    });
    entries_ = std::move(merged);
    folded_ = std::move(folded);
}

void RegRewrittenValues::AppendTo(std::string& out)
{
    EachName([&out](std::string_view, const Entry& first, const Entry& last, const std::vector<std::string>& comments) {
        AppendRegLines(out, comments);
        const bool writtenName = !first.lead.empty();
        if (last.value) {
            AppendRegValueLine(out, writtenName ? UnescapedName(first.lead) : first.name, *last.value);
        } else {
            if (writtenName)
                out += first.lead;
            else
                AppendValueName(out, first.name);
            out += last.data;
            out += "\r\n";
        }
    });
    entries_.clear();
    folded_.clear();
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

} // namespace regfile
