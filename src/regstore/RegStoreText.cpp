#include "regstore/RegStoreText.h"

#include "regfile/RegistryTree.h"

namespace tk {

namespace {

const char* const kEmptyText = "REGEDIT4\r\n";

// The rewrite of an irregular file, checked by being parsed whole.
Result<std::string, RegFileError> Rewrite(std::string_view text, const std::string& fileName)
{
    const auto document = ParseRegFile(text, fileName);
    if (!document)
        return document.Error();
    RegistryTree tree;
    // A parsed document names only keys that can exist.
    static_cast<void>(ApplyRegFile(document.Value(), tree, RegFileComments::Keep));
    return SerialiseRegFile(tree);
}

} // namespace

RegStoreText::RegStoreText(std::string text, std::string fileName, RegFileIndex index, bool checked)
    : text_(std::move(text)), fileName_(std::move(fileName)), index_(std::move(index)),
      keys_(index_.sections.size()), checked_(checked)
{
}

RegStoreText RegStoreText::Empty(const std::string& fileName)
{
    return Changed(kEmptyText, fileName);
}

Result<RegStoreText, RegFileError> RegStoreText::Read(std::string text, const std::string& fileName)
{
    auto index = IndexRegFile(text, fileName);
    if (!index)
        return index.Error();
    if (index.Value().regular)
        return RegStoreText(std::move(text), fileName, std::move(index.Value()), false);
    auto rewritten = Rewrite(text, fileName);
    if (!rewritten)
        return rewritten.Error();
    return Changed(std::move(rewritten.Value()), fileName);
}

// The text is the store's own writing, so its index cannot fail nor find it
// irregular.
RegStoreText RegStoreText::Changed(std::string text, const std::string& fileName)
{
    auto index = IndexRegFile(text, fileName);
    return RegStoreText(std::move(text), fileName, std::move(index.Value()), true);
}

std::string_view RegStoreText::SectionText(std::size_t section) const
{
    const RegFileIndex::Section& s = index_.sections[section];
    return std::string_view(text_).substr(s.header, s.end - s.header);
}

// Parsed as lines on their own, the section's lines are numbered from 1.
RegFileError RegStoreText::InFile(RegFileError error, std::size_t section) const
{
    error.line += LineNumberAt(text_, index_.sections[section].header) - 1;
    return error;
}

Result<const StoredKey*, RegFileError> RegStoreText::Key(std::size_t section)
{
    if (!keys_[section]) {
        const auto document = ParseRegFileLines(SectionText(section), 1, fileName_);
        if (!document)
            return InFile(document.Error(), section);
        keys_[section] = std::make_unique<StoredKey>(StoredKey::FromSection(document.Value().sections.front()));
    }
    return keys_[section].get();
}

Result<const StoredKey*, RegFileError> RegStoreText::Find(std::string_view identity)
{
    const auto section = index_.Find(identity);
    if (!section)
        return static_cast<const StoredKey*>(nullptr);
    return Key(*section);
}

Result<void, RegFileError> RegStoreText::CheckAll()
{
    if (checked_)
        return {};
    for (std::size_t section = 0; section < keys_.size(); ++section) {
        if (keys_[section])
            continue;
        if (const auto checked = CheckRegFileLines(SectionText(section), 1, fileName_); !checked)
            return InFile(checked.Error(), section);
    }
    checked_ = true;
    return {};
}

} // namespace tk
