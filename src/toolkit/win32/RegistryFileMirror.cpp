#include "toolkit/win32/RegistryFileMirror.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/Exceptions.h"
#include "toolkit/WholeFile.h"
#include "toolkit/regstore/RegFile.h"
#include "toolkit/win32/Win32.h"

namespace tk {

namespace {

// The store's own limit.
constexpr std::size_t kStoreLimit = std::size_t{256} << 20;

RegistryTree Parse(const std::string& path)
{
    RegistryTree tree;
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND)
        return tree;
    const auto document = ParseRegFile(ReadWholeFile(path, kStoreLimit), path);
    if (!document)
        throw CException(document.Error().Message());
    static_cast<void>(ApplyRegFile(document.Value(), tree, RegFileComments::Keep));
    return tree;
}

// The comments of `from` on the keys and values that `to` still holds.
void TakeComments(const RegistryTree& from, RegistryTree& to)
{
    from.ForEachKey([&to](RegRoot root, const std::string& path, const RegistryTree::KeyView& view) {
        to.AddKeyComments(root, path, view.comments);
        for (const auto& [name, lines] : view.valueComments)
            to.AddValueComments(root, path, name, lines);
    });
    to.AddClosingComments(from.ClosingComments());
}

} // namespace

RegistryFileMirror::RegistryFileMirror(std::string path) : path_(std::move(path)), original_(Parse(path_))
{
    sandbox_.Load(original_);
    sandbox_.Redirect();
}

void RegistryFileMirror::Save()
{
    RegistryTree now = sandbox_.Contents();
    TakeComments(original_, now);
    const std::string text = SerialiseRegFile(now);
    if (text != SerialiseRegFile(original_))
        WriteFileAtomically(path_, text);
}

} // namespace tk
