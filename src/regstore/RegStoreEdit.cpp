#include "regstore/RegStoreEdit.h"

#include "platform/RegNames.h"

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
    return IsRoot(identity) || text_.Index().Find(identity).has_value();
}

bool RegStoreEdit::HoldsAnything(std::string_view identity)
{
    if (const StoredKey* key = Current(identity); key != nullptr && !key->values.empty())
        return true;
    // The keys below it follow it in key order, in the file and in the change.
    const RegFileIndex& index = text_.Index();
    for (std::size_t s = index.LowerBound(identity); s < index.sections.size(); ++s) {
        const std::string_view below = index.Identity(s);
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
        change.key = stored ? *stored : StoredKey{root, {}, {}};
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
            changes_[identity].key = StoredKey{root, spelling, {}};
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
    for (std::size_t s = index.LowerBound(*identity); s < index.sections.size(); ++s) {
        const std::string_view below = index.Identity(s);
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

std::string RegStoreEdit::NewText() const
{
    const std::string_view old = text_.Text();
    const RegFileIndex& index = text_.Index();
    std::string out;
    out.reserve(old.size() + old.size() / 16 + 4096);
    std::size_t copied = 0;
    const auto copyTo = [&](std::size_t end) {
        if (end > copied)
            out.append(old.substr(copied, end - copied));
        copied = std::max(copied, end);
    };
    for (const auto& [identity, change] : changes_) {
        const std::size_t s = index.LowerBound(identity);
        const bool inFile = s < index.sections.size() && index.Identity(s) == identity;
        if (inFile && !change.removed) {
            copyTo(index.sections[s].header);
            change.key->AppendTo(out);
            copied = index.BodyEnd(old, s);
            continue;
        }
        if (inFile) {
            copyTo(index.LeadStart(old, s));
            copied = index.BodyEnd(old, s);
        }
        if (change.key) {
            copyTo(index.LeadStart(old, s));
            if (!out.empty() && out.back() != '\n')
                out += "\r\n";
            out += "\r\n";
            change.key->AppendTo(out);
        }
    }
    copyTo(old.size());
    return out;
}

} // namespace tk
