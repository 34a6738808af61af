#include "regstore/RegStoreEdit.h"

#include "platform/RegNames.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace regstore {

namespace {

std::optional<std::string> IdentityOf(platform::RegRoot root, std::string_view subKey)
{
    std::string identity;
    if (!AppendKeyIdentity(identity, root, subKey))
        return std::nullopt;
    return identity;
}

bool IsRoot(std::string_view identity)
{
    return identity.size() == 1;
}

} // namespace

bool RegStoreEdit::IdentityOrder::operator()(std::string_view a, std::string_view b) const
{
    return platform::KeyIdentityLess(a, b);
}

RegStoreEdit::RegStoreEdit(RegStoreText& text) : text_(text) {}

bool RegStoreEdit::Exists(std::string_view identity) const
{
    if (const auto change = changes_.find(identity); change != changes_.end())
        return change->second.Exists();
    return IsRoot(identity) || text_.Index().FindKey(identity).has_value();
}

bool RegStoreEdit::HoldsAnything(std::string_view identity)
{
    if (const auto change = changes_.find(identity); change != changes_.end()) {
        const KeyChange& known = change->second;
        if (known.listed ? known.listed->holdsValues : known.key && !known.key->values.empty())
            return true;
    } else if (const StoredKey* key = Stored(identity); key != nullptr && !key->values.empty()) {
        return true;
    }
    // The keys below it follow it in key order, in the file and in the change.
    const RegFileIndex& index = text_.Index();
    for (std::size_t k = index.KeyLowerBound(identity); k < index.KeyCount(); ++k) {
        const std::string_view below = index.KeyIdentity(k);
        if (below == identity)
            continue;
        if (!platform::IsBelow(below, identity))
            break;
        if (Exists(below))
            return true;
    }
    for (auto change = changes_.upper_bound(identity); change != changes_.end(); ++change) {
        if (!platform::IsBelow(change->first, identity))
            break;
        if (change->second.Exists())
            return true;
    }
    return false;
}

// A fault met on the way is not always the file's first, which is the one to
// tell: the whole file is checked for one before it.
void RegStoreEdit::KeepFirstFault(regfile::RegFileError met)
{
    const auto first = text_.CheckAll();
    fault_ = first ? std::move(met) : first.Error();
}

const StoredKey* RegStoreEdit::Stored(std::string_view identity)
{
    const auto key = text_.Find(identity);
    if (key)
        return key.Value();
    if (!fault_)
        fault_ = key.Error();
    return nullptr;
}

const StoredKey* RegStoreEdit::Current(std::string_view identity)
{
    if (const auto change = changes_.find(identity); change != changes_.end()) {
        Materialize(identity, change->second);
        return change->second.key.get();
    }
    return Stored(identity);
}

std::optional<std::string> RegStoreEdit::PathOf(std::string_view identity)
{
    if (IsRoot(identity))
        return std::string();
    if (const auto change = changes_.find(identity); change != changes_.end() && (change->second.key || change->second.made))
        return change->second.key ? change->second.key->path : change->second.path;
    const auto key = text_.Index().FindKey(identity);
    if (!key)
        return std::nullopt;
    auto path = text_.KeyPath(*key);
    if (!path) {
        if (!fault_)
            fault_ = path.Error();
        return std::nullopt;
    }
    return std::move(path.Value());
}

StoredKey& RegStoreEdit::Editable(platform::RegRoot root, std::string_view identity)
{
    KeyChange& change = changes_[std::string(identity)];
    Materialize(identity, change);
    if (!change.key) {
        const StoredKey* stored = change.removed ? nullptr : Stored(identity);
        change.key = std::make_unique<StoredKey>(stored ? *stored : StoredKey{root, {}, {}, {}});
    }
    return *change.key;
}

const platform::RegValue* RegStoreEdit::FindValue(platform::RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto identity = IdentityOf(root, subKey);
    const StoredKey* key = identity ? Current(*identity) : nullptr;
    return key == nullptr ? nullptr : key->Find(name);
}

platform::RegResult RegStoreEdit::CreateKey(platform::RegRoot root, std::string_view subKey)
{
    const auto names = platform::SplitKeyPath(subKey);
    if (!names)
        return platform::RegError::BadKeyPath;
    std::string identity;
    static_cast<void>(AppendKeyIdentity(identity, root, {}));
    std::string path;
    for (std::string_view name : *names) {
        identity += '\\';
        identity += platform::FoldedName(name);
        // A key that is there keeps its spelling for the keys below it.
        const std::string spelling = path.empty() ? std::string(name) : path + '\\' + std::string(name);
        if (!Exists(identity)) {
            KeyChange& made = changes_[identity];
            made.path = spelling;
            made.root = root;
            made.made = true;
        }
        path = PathOf(identity).value_or(spelling);
    }
    return {};
}

platform::RegResult RegStoreEdit::DeleteKey(platform::RegRoot root, std::string_view subKey)
{
    const auto identity = IdentityOf(root, subKey);
    if (!identity)
        return platform::RegError::BadKeyPath;
    if (IsRoot(*identity))
        return platform::RegError::AccessDenied;
    if (!Exists(*identity))
        return platform::RegError::KeyNotFound;
    const RegFileIndex& index = text_.Index();
    for (std::size_t k = index.KeyLowerBound(*identity); k < index.KeyCount(); ++k) {
        const std::string_view below = index.KeyIdentity(k);
        if (below != *identity && !platform::IsBelow(below, *identity))
            break;
        changes_[std::string(below)];
    }
    changes_[*identity];
    for (auto change = changes_.find(*identity); change != changes_.end(); ++change) {
        if (change->first != *identity && !platform::IsBelow(change->first, *identity))
            break;
        change->second = KeyChange{};
        change->second.removed = true;
    }
    return {};
}

platform::RegResult RegStoreEdit::DeleteValue(platform::RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto identity = IdentityOf(root, subKey);
    if (!identity)
        return platform::RegError::BadKeyPath;
    if (!Exists(*identity))
        return platform::RegError::KeyNotFound;
    if (FindValue(root, subKey, name) == nullptr)
        return platform::RegError::ValueNotFound;
    Editable(root, *identity).values.erase(platform::FoldedName(name));
    return {};
}

bool RegStoreEdit::DeleteEmptyKey(platform::RegRoot root, std::string_view subKey)
{
    const auto identity = IdentityOf(root, subKey);
    if (!identity || IsRoot(*identity) || !Exists(*identity) || HoldsAnything(*identity))
        return false;
    return DeleteKey(root, subKey).HasValue();
}

platform::Result<bool, platform::RegFault> RegStoreEdit::ApplyList(const std::vector<platform::RegValueChange>& values)
{
    list_ = &values;
    // The list's runs of one key, grouped by key. The keys go in the order
    // of their first value set, where one change after another would make
    // a key not there, and the keys above it that are not there either, with
    // the spelling of that value's key.
    struct KeyRun {
        ListRun run;
        std::uint32_t key = 0;
    };
    std::vector<KeyRun> runs;
    std::vector<std::uint32_t> firstSet; // by key
    {
        std::unordered_map<std::string, std::uint32_t> keyNumbers;
        std::string identity;
        const platform::RegKeyPath* last = nullptr;
        for (std::uint32_t i = 0; i < values.size(); ++i) {
            const platform::RegKeyPath* key = values[i].Key().get();
            if (key == last) {
                runs.back().run.end = i + 1;
                if (values[i].HasValue())
                    firstSet[runs.back().key] = std::min(firstSet[runs.back().key], i);
                continue;
            }
            identity.clear();
            if (!AppendKeyIdentity(identity, key->root, key->subKey)) {
                // No value lies there to remove, and none can be set there.
                if (values[i].HasValue())
                    return platform::RegFault(platform::RegError::BadKeyPath);
                last = nullptr;
                continue;
            }
            last = key;
            const auto number = keyNumbers.try_emplace(identity, static_cast<std::uint32_t>(keyNumbers.size()));
            if (number.second)
                firstSet.push_back(std::numeric_limits<std::uint32_t>::max());
            runs.push_back({{i, i + 1}, number.first->second});
            if (values[i].HasValue())
                firstSet[runs.back().key] = std::min(firstSet[runs.back().key], i);
        }
    }
    std::stable_sort(runs.begin(), runs.end(), [&](const KeyRun& a, const KeyRun& b) {
        return std::pair(firstSet[a.key], a.key) < std::pair(firstSet[b.key], b.key);
    });
    runs_.clear();
    runs_.reserve(runs.size());
    for (const KeyRun& run : runs)
        runs_.push_back(run.run);

    bool changed = false;
    std::string identity;
    for (std::size_t first = 0; first < runs.size();) {
        std::size_t end = first + 1;
        while (end < runs.size() && runs[end].key == runs[first].key)
            ++end;
        const Listed listed{static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end - first), false};
        first = end;
        const platform::RegKeyPath& key = *values[runs_[listed.firstRun].begin].Key();
        identity.clear();
        static_cast<void>(AppendKeyIdentity(identity, key.root, key.subKey));
        // The key as it is before its values: the file's, one made above a
        // key before it, or none.
        KeyChange untouched;
        untouched.root = key.root;
        const auto before = changes_.find(identity);
        std::optional<StoredKey> copy = Base(identity, before != changes_.end() ? before->second : untouched);
        if (!copy)
            return false;
        const ListEffect effect = ApplyRuns(*copy, listed);
        if (!effect.changed)
            continue;
        // Only a value set changes a key that is not there.
        if (!Exists(identity))
            if (const platform::RegResult created = CreateKey(key.root, values[*effect.firstSet].Key()->subKey); !created)
                return created.Error();
        KeyChange& change = changes_[identity];
        change.listed = listed;
        change.listed->holdsValues = !copy->values.empty();
        changed = true;
    }
    return changed;
}

RegStoreEdit::ListEffect RegStoreEdit::ApplyRuns(StoredKey& key, const Listed& listed) const
{
    ListEffect effect;
    for (std::uint32_t r = listed.firstRun; r < listed.firstRun + listed.runCount; ++r) {
        for (std::uint32_t i = runs_[r].begin; i < runs_[r].end; ++i) {
            const platform::RegValueChange& change = (*list_)[i];
            const platform::RegValue* old = key.Find(change.Name());
            if (!change.HasValue()) {
                if (old == nullptr)
                    continue;
                key.values.erase(platform::FoldedName(change.Name()));
            } else if (old == nullptr || !change.Sets(*old)) {
                key.Set(change.Name(), *change.Value());
                if (!effect.firstSet)
                    effect.firstSet = i;
            } else {
                continue;
            }
            effect.changed = true;
        }
    }
    return effect;
}

std::optional<StoredKey> RegStoreEdit::Base(std::string_view identity, const KeyChange& change)
{
    if (change.key)
        return *change.key;
    if (change.made)
        return StoredKey{change.root, change.path, {}, {}};
    if (!change.removed) {
        if (const auto stored = text_.Index().FindKey(identity)) {
            auto built = text_.Build(*stored, !text_.Index().Canonical());
            if (!built) {
                if (!fault_)
                    fault_ = built.Error();
                return std::nullopt;
            }
            return std::move(built.Value());
        }
    }
    // A root without a section of its own, or a key not there.
    return StoredKey{change.listed ? (*list_)[runs_[change.listed->firstRun].begin].Key()->root : change.root, {}, {}, {}};
}

std::optional<StoredKey> RegStoreEdit::FromList(std::string_view identity, const KeyChange& change)
{
    std::optional<StoredKey> key = Base(identity, change);
    if (key)
        static_cast<void>(ApplyRuns(*key, *change.listed));
    return key;
}

void RegStoreEdit::Materialize(std::string_view identity, KeyChange& change)
{
    if (!change.listed && !change.made)
        return;
    if (auto made = change.listed ? FromList(identity, change) : Base(identity, change))
        change.key = std::make_unique<StoredKey>(std::move(*made));
    change.listed.reset();
    change.made = false;
    change.path.clear();
}

const StoredKey* RegStoreEdit::Final(std::string_view identity, const KeyChange& change, std::optional<StoredKey>& made)
{
    if (!change.listed && !change.made)
        return change.key.get();
    made = change.listed ? FromList(identity, change) : Base(identity, change);
    return made ? &*made : nullptr;
}

// The new text as it is made: held whole, or handed to a sink a piece at a
// time. The last byte made stays, for the splice to look at.
class RegStoreEdit::Output {
public:
    explicit Output(const TextSink* sink) : sink_(sink) {}

    std::string text; // what is not handed on yet

    // Room for the whole text when it is held, for a few pieces otherwise.
    void Reserve(std::size_t bytes) { text.reserve(sink_ == nullptr ? bytes : 2 * kPieceBytes); }
    // How much of the store's bytes to copy in one go: a text handed on
    // holds no more than a piece and one such copy.
    std::size_t CopyBytes() const { return sink_ == nullptr ? std::size_t{1} << 20 : kPieceBytes / 4; }
    std::size_t Size() const { return handed_ + text.size(); }
    // Hands on what has gathered once it is a piece's worth.
    void Drain()
    {
        if (sink_ != nullptr && text.size() >= kPieceBytes)
            HandOn(text.size() - 1);
    }
    void Finish()
    {
        if (sink_ != nullptr)
            HandOn(text.size());
    }

private:
    static constexpr std::size_t kPieceBytes = std::size_t{256} << 10;

    void HandOn(std::size_t bytes)
    {
        (*sink_)(std::string_view(text).substr(0, bytes));
        handed_ += bytes;
        text.erase(0, bytes);
    }

    const TextSink* sink_;
    std::size_t handed_ = 0;
};

std::optional<std::string> RegStoreEdit::NewText(std::size_t limit)
{
    Output output(nullptr);
    if (!Write(limit, output))
        return std::nullopt;
    return std::move(output.text);
}

bool RegStoreEdit::WriteNewText(std::size_t limit, const TextSink& sink)
{
    Output output(&sink);
    if (!Write(limit, output))
        return false;
    output.Finish();
    return true;
}

bool RegStoreEdit::Write(std::size_t limit, Output& output)
{
    return text_.Index().storeCanonical ? Splice(limit, output) : Rewrite(limit, output);
}

bool RegStoreEdit::Splice(std::size_t limit, Output& output)
{
    const RegFileIndex& index = text_.Index();
    const RegFileIndex::Text& store = index.texts.front();
    std::string& out = output.text;
    std::size_t expected = 0;
    for (const RegFileIndex::Text& text : index.texts)
        expected += text.size;
    output.Reserve(expected + expected / 16 + 4096);
    std::size_t copied = 0;
    const auto copyTo = [&](std::size_t end) {
        // A piece at a time, so that an output handed on holds no more.
        const std::size_t copyBytes = output.CopyBytes();
        for (std::size_t piece = copied; piece < end && !fault_; piece = std::min(end, piece + copyBytes)) {
            if (auto appended = text_.AppendBytes(out, piece, std::min(end, piece + copyBytes)); !appended)
                fault_ = appended.Error();
            output.Drain();
        }
        copied = std::max(copied, end);
    };
    // The faults of these reads of the file end the change.
    const auto bodyEnd = [&](std::size_t s) -> std::size_t {
        auto end = text_.BodyEnd(s);
        if (!end && !fault_)
            fault_ = end.Error();
        return end ? end.Value() : copied;
    };
    const auto leadStart = [&](std::size_t s) -> std::size_t {
        return s == store.firstSection ? store.preambleEnd : bodyEnd(s - 1);
    };
    // `key`: the key's lines as written anew; null when it is removed.
    const auto splice = [&](std::string_view identity, bool removed, const std::string* key) {
        const std::size_t s = index.StoreLowerBound(identity);
        const bool inFile = s < store.endSection && index.Identity(s) == identity;
        if (inFile && !removed) {
            copyTo(index.sections[s].header);
            out += *key;
            copied = bodyEnd(s);
            return;
        }
        if (inFile) {
            copyTo(leadStart(s));
            copied = bodyEnd(s);
        }
        if (key) {
            copyTo(leadStart(s));
            if (!out.empty() && out.back() != '\n')
                out += "\r\n";
            out += "\r\n";
            out += *key;
        }
    };
    if (index.texts.size() == 1) {
        std::string lines;
        std::optional<StoredKey> made;
        for (const auto& [identity, change] : changes_) {
            lines.clear();
            const StoredKey* key = Final(identity, change, made);
            if (fault_)
                return false;
            if (key)
                key->AppendTo(lines);
            splice(identity, change.removed, key ? &lines : nullptr);
            if (fault_ || output.Size() > limit)
                return false;
            output.Drain();
        }
    }
    // With a file to import: the store's keys that it removes, and those it
    // changes or makes, in key order.
    for (std::size_t s = store.firstSection, k = 0; index.texts.size() > 1 && (s < store.endSection || k < index.KeyCount());) {
        const bool storeOnly = k == index.KeyCount()
            || (s < store.endSection && platform::KeyIdentityLess(index.Identity(s), index.KeyIdentity(k)));
        if (storeOnly) {
            splice(index.Identity(s++), true, nullptr);
        } else {
            const bool both = s < store.endSection && index.Identity(s) == index.KeyIdentity(k);
            if (!both || index.ChangedByImport(k)) {
                // Written as a rewrite writes it: lines in the form written
                // are copied, not parsed into values once more.
                auto key = text_.Rewritten(k, false);
                if (!key) {
                    KeepFirstFault(key.Error());
                    return false;
                }
                const bool removed = both && index.sections[s].kept < index.sections[s].depth;
                // A root is there without a section, which it gets for values.
                if (both || !key.Value().bareRoot)
                    splice(index.KeyIdentity(k), removed, &key.Value().lines);
            }
            s += both ? 1 : 0;
            ++k;
        }
        if (fault_ || output.Size() > limit)
            return false;
        output.Drain();
    }
    copyTo(store.size);
    return !fault_ && output.Size() <= limit;
}

bool RegStoreEdit::Rewrite(std::size_t limit, Output& output)
{
    const RegStoreText::WholeInMemory whole(text_);
    const RegFileIndex& index = text_.Index();
    std::string& out = output.text;
    out = "REGEDIT4\r\n";
    output.Reserve(index.texts.front().size + 4096);
    const auto append = [&out](const StoredKey& key) {
        if (key.path.empty() && key.values.empty() && key.comments.empty())
            return;
        out += "\r\n";
        regfile::AppendRegLines(out, key.comments);
        key.AppendTo(out);
    };
    auto change = changes_.begin();
    std::optional<StoredKey> made;
    for (std::size_t k = 0; k < index.KeyCount() || change != changes_.end();) {
        const bool fromText = change == changes_.end()
            || (k < index.KeyCount() && platform::KeyIdentityLess(index.KeyIdentity(k), change->first));
        if (fromText) {
            if (auto written = text_.AppendRewritten(k++, out); !written) {
                // Keys are written in key order.
                KeepFirstFault(written.Error());
                return false;
            }
        } else {
            k += k < index.KeyCount() && index.KeyIdentity(k) == change->first ? 1 : 0;
            if (const StoredKey* key = Final(change->first, change->second, made))
                append(*key);
            if (fault_)
                return false;
            ++change;
        }
        if (output.Size() > limit)
            return false;
        output.Drain();
    }
    // Every section is parsed before the text is taken: the first fault in
    // the file is the one to tell.
    if (auto unkeyed = text_.CheckSectionsOfNoKey(); !unkeyed) {
        KeepFirstFault(unkeyed.Error());
        return false;
    }
    auto closing = text_.ClosingComments();
    if (!closing) {
        fault_ = closing.Error();
        return false;
    }
    if (!closing.Value().empty()) {
        out += "\r\n";
        regfile::AppendRegLines(out, closing.Value());
    }
    return output.Size() <= limit;
}

} // namespace regstore
