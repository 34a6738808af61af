#include "regfile/RegFile.h"

#include "platform/RegNames.h"
#include "regfile/RegValueLine.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace tk {

void RegRewrittenValues::AddWritten(std::string name, std::string_view data, std::vector<std::string> comments)
{
    Entry entry;
    entry.folded = FoldedName(name);
    entry.name = std::move(name);
    entry.removes = data == "-";
    entry.data = data;
    entry.comments = std::move(comments);
    entries_.push_back(std::move(entry));
}

void RegRewrittenValues::AddParsed(RegFileValueLine line)
{
    Entry entry;
    entry.folded = FoldedName(line.name);
    entry.name = std::move(line.name);
    entry.removes = !line.value;
    entry.value = std::move(line.value);
    entry.comments = std::move(line.comments);
    entries_.push_back(std::move(entry));
}

void RegRewrittenValues::AppendTo(std::string& out)
{
    // In the order of a std::map by folded name, as StoredKey keeps them; a
    // name's lines stay in the order they came.
    std::vector<std::uint32_t> order(entries_.size());
    for (std::uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return entries_[a].folded < entries_[b].folded; });
    std::vector<std::string> comments;
    for (std::size_t run = 0; run < order.size();) {
        const std::string& folded = entries_[order[run]].folded;
        const Entry* first = nullptr;
        const Entry* last = nullptr;
        comments.clear();
        std::size_t end = run;
        for (; end < order.size() && entries_[order[end]].folded == folded; ++end) {
            Entry& e = entries_[order[end]];
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
        if (last != nullptr) {
            AppendRegLines(out, comments);
            if (last->value) {
                AppendRegValueLine(out, first->name, *last->value);
            } else {
                AppendValueName(out, first->name);
                out += last->data;
                out += "\r\n";
            }
        }
        run = end;
    }
    entries_.clear();
}

void RegRewrittenValues::Expect(std::size_t lines)
{
    // A key may come in many sections, each a call: room for exactly one more
    // section's lines would move every entry each time.
    const std::size_t wanted = entries_.size() + lines;
    if (wanted > entries_.capacity())
        entries_.reserve(std::max(wanted, 2 * entries_.capacity()));
}

} // namespace tk
