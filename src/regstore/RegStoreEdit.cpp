#include "regstore/RegStoreEdit.h"

#include "platform/RegNames.h"

#include <algorithm>

namespace tk {

namespace {

std::optional<std::string> IdentityOf(RegRoot root, std::string_view subKey)
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
    return KeyIdentityLess(a, b);
}

RegStoreEdit::RegStoreEdit(RegStoreText& text) : text_(text) {}

bool RegStoreEdit::Exists(std::string_view identity) const
{
    if (const auto change = changes_.find(identity); change != changes_.end())
        return change->second.key.has_value();
    return IsRoot(identity) || text_.Index().FindKey(identity).has_value();
}

bool RegStoreEdit::HoldsAnything(std::string_view identity)
{
    if (const StoredKey* key = Current(identity); key != nullptr && !key->values.empty())
        return true;
    // The keys below it follow it in key order, in the file and in the change.
    const RegFileIndex& index = text_.Index();
    for (std::size_t k = index.KeyLowerBound(identity); k < index.KeyCount(); ++k) {
        const std::string_view below = index.KeyIdentity(k);
        if (below == identity)
            continue;
        if (!IsBelow(below, identity))
            break;
        if (Exists(below))
            return true;
    }
    for (auto change = changes_.upper_bound(identity); change != changes_.end(); ++change) {
        if (!IsBelow(change->first, identity))
            break;
        if (change->second.key)
            return true;
    }
    return false;
}

// A fault met on the way is not always the file's first, which is the one to
// tell: the whole file is checked for one before it.
void RegStoreEdit::KeepFirstFault(RegFileError met)
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
    if (const auto change = changes_.find(identity); change != changes_.end())
        return change->second.key ? &*change->second.key : nullptr;
    return Stored(identity);
}

StoredKey& RegStoreEdit::Editable(RegRoot root, std::string_view identity)
{
    KeyChange& change = changes_[std::string(identity)];
    if (!change.key) {
        const StoredKey* stored = change.removed ? nullptr : Stored(identity);
        change.key = stored ? *stored : StoredKey{root, {}, {}, {}};
    }
    return *change.key;
}

const RegValue* RegStoreEdit::FindValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto identity = IdentityOf(root, subKey);
    const StoredKey* key = identity ? Current(*identity) : nullptr;
    return key == nullptr ? nullptr : key->Find(name);
}

RegResult RegStoreEdit::CreateKey(RegRoot root, std::string_view subKey)
{
    const auto names = SplitKeyPath(subKey);
    if (!names)
        return RegError::BadKeyPath;
    std::string identity;
    static_cast<void>(AppendKeyIdentity(identity, root, {}));
    std::string path;
    for (std::string_view name : *names) {
        identity += '\\';
        identity += FoldedName(name);
        // A key that is there keeps its spelling for the keys below it.
        const std::string spelling = path.empty() ? std::string(name) : path + '\\' + std::string(name);
        if (!Exists(identity))
            changes_[identity].key = StoredKey{root, spelling, {}, {}};
        const StoredKey* key = Current(identity);
        path = key ? key->path : spelling;
    }
    return {};
}

RegResult RegStoreEdit::DeleteKey(RegRoot root, std::string_view subKey)
{
    const auto identity = IdentityOf(root, subKey);
    if (!identity)
        return RegError::BadKeyPath;
    if (IsRoot(*identity))
        return RegError::AccessDenied;
    if (!Exists(*identity))
        return RegError::KeyNotFound;
    const RegFileIndex& index = text_.Index();
    for (std::size_t k = index.KeyLowerBound(*identity); k < index.KeyCount(); ++k) {
        const std::string_view below = index.KeyIdentity(k);
        if (below != *identity && !IsBelow(below, *identity))
            break;
        changes_[std::string(below)];
    }
    changes_[*identity];
    for (auto change = changes_.find(*identity); change != changes_.end(); ++change) {
        if (change->first != *identity && !IsBelow(change->first, *identity))
            break;
        change->second = {std::nullopt, true};
    }
    return {};
}

RegResult RegStoreEdit::SetValue(RegRoot root, std::string_view subKey, std::string_view name,
                                 const RegValue& value)
{
    if (const RegResult created = CreateKey(root, subKey); !created)
        return created;
    const auto identity = IdentityOf(root, subKey);
    Editable(root, *identity).Set(name, value);
    return {};
}

RegResult RegStoreEdit::DeleteValue(RegRoot root, std::string_view subKey, std::string_view name)
{
    const auto identity = IdentityOf(root, subKey);
    if (!identity)
        return RegError::BadKeyPath;
    if (!Exists(*identity))
        return RegError::KeyNotFound;
    if (FindValue(root, subKey, name) == nullptr)
        return RegError::ValueNotFound;
    Editable(root, *identity).values.erase(FoldedName(name));
    return {};
}

bool RegStoreEdit::DeleteEmptyKey(RegRoot root, std::string_view subKey)
{
    const auto identity = IdentityOf(root, subKey);
    if (!identity || IsRoot(*identity) || !Exists(*identity) || HoldsAnything(*identity))
        return false;
    return DeleteKey(root, subKey).HasValue();
}

std::optional<StoredKey> RegStoreEdit::Built(std::size_t key, bool keyComments)
{
    auto built = text_.Build(key, keyComments);
    if (built)
        return std::move(built.Value());
    // A rewrite meets faults in key order.
    KeepFirstFault(built.Error());
    return std::nullopt;
}

std::optional<std::string> RegStoreEdit::NewText(std::size_t limit)
{
    return text_.Index().storeCanonical ? Splice(limit) : Rewrite(limit);
}

std::optional<std::string> RegStoreEdit::Splice(std::size_t limit)
{
    const RegFileIndex& index = text_.Index();
    const RegFileIndex::Text& store = index.texts.front();
    std::string out;
    std::size_t expected = 0;
    for (const RegFileIndex::Text& text : index.texts)
        expected += text.size;
    out.reserve(expected + expected / 16 + 4096);
    std::size_t copied = 0;
    const auto copyTo = [&](std::size_t end) {
        if (end > copied && !fault_)
            if (auto appended = text_.AppendBytes(out, copied, end); !appended)
                fault_ = appended.Error();
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
    const auto splice = [&](std::string_view identity, const KeyChange& change) {
        const std::size_t s = index.StoreLowerBound(identity);
        const bool inFile = s < store.endSection && index.Identity(s) == identity;
        if (inFile && !change.removed) {
            copyTo(index.sections[s].header);
            change.key->AppendTo(out);
            copied = bodyEnd(s);
            return;
        }
        if (inFile) {
            copyTo(leadStart(s));
            copied = bodyEnd(s);
        }
        if (change.key) {
            copyTo(leadStart(s));
            if (!out.empty() && out.back() != '\n')
                out += "\r\n";
            out += "\r\n";
            change.key->AppendTo(out);
        }
    };
    if (index.texts.size() == 1) {
        for (const auto& [identity, change] : changes_) {
            splice(identity, change);
            if (fault_ || out.size() > limit)
                return std::nullopt;
        }
    }
    // With a file to import: the store's keys that it removes, and those it
    // changes or makes, in key order.
    for (std::size_t s = store.firstSection, k = 0; index.texts.size() > 1 && (s < store.endSection || k < index.KeyCount());) {
        const bool storeOnly = k == index.KeyCount()
            || (s < store.endSection && KeyIdentityLess(index.Identity(s), index.KeyIdentity(k)));
        if (storeOnly) {
            splice(index.Identity(s++), KeyChange{std::nullopt, true});
        } else {
            const bool both = s < store.endSection && index.Identity(s) == index.KeyIdentity(k);
            if (!both || index.ChangedByImport(k)) {
                auto key = Built(k, false);
                if (!key)
                    return std::nullopt;
                const bool removed = both && index.sections[s].kept < index.sections[s].depth;
                // A root is there without a section, which it gets for values.
                if (both || !key->path.empty() || !key->values.empty())
                    splice(index.KeyIdentity(k), KeyChange{std::move(key), removed});
            }
            s += both ? 1 : 0;
            ++k;
        }
        if (fault_ || out.size() > limit)
            return std::nullopt;
    }
    copyTo(store.size);
    if (fault_ || out.size() > limit)
        return std::nullopt;
    return out;
}

std::optional<std::string> RegStoreEdit::Rewrite(std::size_t limit)
{
    const RegStoreText::WholeInMemory whole(text_);
    const RegFileIndex& index = text_.Index();
    std::string out = "REGEDIT4\r\n";
    out.reserve(index.texts.front().size + 4096);
    const auto append = [&out](const StoredKey& key) {
        if (key.path.empty() && key.values.empty() && key.comments.empty())
            return;
        out += "\r\n";
        AppendRegLines(out, key.comments);
        key.AppendTo(out);
    };
    auto change = changes_.begin();
    for (std::size_t k = 0; k < index.KeyCount() || change != changes_.end();) {
        const bool fromText = change == changes_.end()
            || (k < index.KeyCount() && KeyIdentityLess(index.KeyIdentity(k), change->first));
        if (fromText) {
            if (auto written = text_.AppendRewritten(k++, out); !written) {
                // Keys are written in key order.
                KeepFirstFault(written.Error());
                return std::nullopt;
            }
        } else {
            k += k < index.KeyCount() && index.KeyIdentity(k) == change->first ? 1 : 0;
            if (change->second.key)
                append(*change->second.key);
            ++change;
        }
        if (out.size() > limit)
            return std::nullopt;
    }
    // Every section is parsed before the text is written: the first fault in
    // the file is the one to tell.
    if (auto unkeyed = text_.CheckSectionsOfNoKey(); !unkeyed) {
        KeepFirstFault(unkeyed.Error());
        return std::nullopt;
    }
    auto closing = text_.ClosingComments();
    if (!closing) {
        fault_ = closing.Error();
        return std::nullopt;
    }
    if (!closing.Value().empty()) {
        out += "\r\n";
        AppendRegLines(out, closing.Value());
    }
    if (out.size() > limit)
        return std::nullopt;
    return out;
}

} // namespace tk
