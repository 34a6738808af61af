// The registry store's file: any bytes either parse, or are refused with the
// file's name and a line that exists and are then never overwritten. What
// parses is written canonically, and that text parses back to the same
// registry and is written again byte for byte. The store, which rewrites only
// the sections a change needs, leaves a file that parses to what the whole
// file changed in memory holds.
#include "FuzzSupport.h"
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "regfile/RegFile.h"
#include "regstore/RegistryStore.h"
#include "regfile/RegistryTree.h"

#include <algorithm>

namespace {

const char* const kFileName = "registry.reg";

tk::RegistryTree Apply(const tk::RegFileDocument& document)
{
    tk::RegistryTree tree;
    // A parsed document names only keys that exist once its sections are made.
    FUZZ_CHECK(tk::ApplyRegFile(document, tree, tk::RegFileComments::Keep).HasValue());
    return tree;
}

// Every value of `expected` is in `actual` with the same type and bytes, and
// `actual` holds no others.
void CheckSameValues(const tk::RegistryTree& expected, const tk::RegistryTree& actual)
{
    FUZZ_CHECK(expected.ValueCount() == actual.ValueCount());
    expected.ForEachKey([&](tk::RegRoot root, const std::string& path, const tk::RegistryTree::KeyView& key) {
        FUZZ_CHECK_SAID(actual.KeyExists(root, path), path);
        for (const auto& [name, value] : key.values) {
            const tk::RegValue* found = actual.FindValue(root, path, name);
            FUZZ_CHECK_SAID(found && found->type == value.type && found->data == value.data, path + " " + name);
        }
    });
}

TempAppFolder& StoreFolder()
{
    static TempAppFolder folder;
    return folder;
}

// The store's change, made to the store on `text` and to `tree`.
tk::RegResult Change(tk::IRegistry& registry)
{
    return registry.SetValue(tk::RegRoot::CurrentUser, "Software\\Fuzz", "Value", tk::RegValue::String("x"));
}

// The store on a file that cannot be parsed: a change is refused and reported
// naming the file, and the file keeps every byte. Reads of keys whose
// sections parse may still answer.
void CheckBrokenStoreIsKept(std::string_view text)
{
    TempAppFolder& folder = StoreFolder();
    const std::string bytes(text);
    folder.Write(kFileName, bytes);
    RecordingBackend backend;
    tk::ScopedBackend installed(backend);
    tk::RegistryStore store(folder.Path(kFileName));
    (void)store.QueryValue(tk::RegRoot::CurrentUser, "Software", "Fuzz");
    FUZZ_CHECK(!Change(store));
    FUZZ_CHECK(folder.Read(kFileName) == bytes);
    FUZZ_CHECK(!backend.errors.empty());
    FUZZ_CHECK(std::all_of(backend.errors.begin(), backend.errors.end(), [&](const std::string& error) {
        return error.find(folder.Path(kFileName)) != std::string::npos;
    }));
}

// The store on a file that parses: its change succeeds where the tree's
// does, silently, and the file it writes parses to the tree so changed.
void CheckStoreChange(std::string_view text, tk::RegistryTree& tree)
{
    TempAppFolder& folder = StoreFolder();
    folder.Write(kFileName, std::string(text));
    RecordingBackend backend;
    tk::ScopedBackend installed(backend);
    tk::RegistryStore store(folder.Path(kFileName));
    FUZZ_CHECK(Change(store).HasValue() == Change(tree).HasValue());
    FUZZ_CHECK(backend.errors.empty());
    const std::string written = folder.Read(kFileName);
    const auto reparsed = tk::ParseRegFile(written, kFileName);
    FUZZ_CHECK_SAID(reparsed.HasValue(), reparsed ? std::string() : reparsed.Error().Message());
    CheckSameValues(tree, Apply(reparsed.Value()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::AsText(data, size);
    const auto parsed = tk::ParseRegFile(text, kFileName);
    if (!parsed) {
        const tk::RegFileError& error = parsed.Error();
        const auto lines = 1 + std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r');
        FUZZ_CHECK_SAID(error.line >= 1 && error.line <= lines, error.Message());
        FUZZ_CHECK(error.Message().rfind("\"registry.reg\", line ", 0) == 0);
        // A file of no bytes at all is an empty store, not a broken one.
        if (!text.empty())
            CheckBrokenStoreIsKept(text);
        return 0;
    }

    const tk::RegistryTree tree = Apply(parsed.Value());
    const std::string written = tk::SerialiseRegFile(tree);
    const auto reparsed = tk::ParseRegFile(written, "written.reg");
    FUZZ_CHECK_SAID(reparsed.HasValue(), reparsed ? std::string() : reparsed.Error().Message());
    const tk::RegistryTree again = Apply(reparsed.Value());
    CheckSameValues(tree, again);
    FUZZ_CHECK(tk::SerialiseRegFile(again) == written);

    tk::RegistryTree changed = Apply(parsed.Value());
    CheckStoreChange(text, changed);
    return 0;
}
