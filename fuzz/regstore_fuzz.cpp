// The registry store's file: any bytes either parse, or are refused with the
// file's name and a line that exists and are then never overwritten. What
// parses is written canonically, and that text parses back to the same
// registry and is written again byte for byte. The store, which indexes the
// file whatever the order of its keys and parses only the keys it reads,
// reads what parsing the whole file gives; after a change, and after an
// import, it leaves a file that parses to what the whole file changed in
// memory holds, and a file not in canonical form is rewritten exactly as the
// whole file changed in memory is.
#include "FuzzSupport.h"
#include "unit/RecordingBackend.h"
#include "unit/TempAppFolder.h"

#include "regfile/RegFile.h"
#include "regstore/RegStoreText.h"
#include "regstore/RegistryStore.h"
#include "regfile/RegistryTree.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

const char* const kFileName = "registry.reg";

regfile::RegistryTree Apply(const regfile::RegFileDocument& document)
{
    regfile::RegistryTree tree;
    // A parsed document names only keys that exist once its sections are made.
    FUZZ_CHECK(regfile::ApplyRegFile(document, tree, regfile::RegFileComments::Keep).HasValue());
    return tree;
}

// Every value of `expected` is in `actual` with the same type and bytes, and
// `actual` holds no others.
void CheckSameValues(const regfile::RegistryTree& expected, const regfile::RegistryTree& actual)
{
    FUZZ_CHECK(expected.ValueCount() == actual.ValueCount());
    expected.ForEachKey([&](platform::RegRoot root, const std::string& path, const regfile::RegistryTree::KeyView& key) {
        FUZZ_CHECK_SAID(actual.KeyExists(root, path), path);
        for (const auto& [name, value] : key.values) {
            const platform::RegValue* found = actual.FindValue(root, path, name);
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
platform::RegResult Change(platform::IRegistry& registry)
{
    return registry.SetValue(platform::RegRoot::CurrentUser, "Software\\Fuzz", "Value", platform::RegValue::String("x"));
}

// A backup being restored: it removes a key that fuzzed files may hold, and
// sets values in keys that they may hold or not.
const char* const kImport = "REGEDIT4\r\n[-HKEY_CURRENT_USER\\Software\\A]\r\n[HKEY_CURRENT_USER\\Software\\A\\B]\r\n"
                            "\"b\"=dword:00000001\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"v\"=-\r\n\"w\"=\"w\"\r\n";

std::string Outcome(const platform::Result<platform::RegValue, platform::RegFault>& read)
{
    if (!read)
        return "error " + std::to_string(static_cast<int>(read.Error().error));
    return std::to_string(static_cast<unsigned>(read.Value().type)) + ":"
        + std::string(read.Value().data.begin(), read.Value().data.end());
}

// Every value of the tree, one absent from each of its keys, and a key below
// each, read from the store as the tree reads them.
void CheckSameReads(regstore::RegistryStore& store, regfile::RegistryTree& tree)
{
    tree.ForEachKey([&](platform::RegRoot root, const std::string& path, const regfile::RegistryTree::KeyView& key) {
        std::vector<std::string> names{"(absent)"};
        for (const auto& entry : key.values)
            names.push_back(entry.first);
        for (const std::string& name : names)
            FUZZ_CHECK_SAID(Outcome(store.QueryValue(root, path, name)) == Outcome(tree.QueryValue(root, path, name)),
                            path + " " + name);
        const std::string below = path.empty() ? "(absent)" : path + "\\(absent)";
        FUZZ_CHECK_SAID(Outcome(store.QueryValue(root, below, "")) == Outcome(tree.QueryValue(root, below, "")), below);
    });
}

// The store on a file that cannot be parsed: a change is refused, naming the
// file in its cause or in the box of a read that met the fault first, and
// the file keeps every byte. Reads of keys whose sections parse may still
// answer.
void CheckBrokenStoreIsKept(std::string_view text)
{
    TempAppFolder& folder = StoreFolder();
    const std::string bytes(text);
    folder.Write(kFileName, bytes);
    RecordingBackend backend;
    toolkit::ScopedBackend installed(backend);
    regstore::RegistryStore store(folder.Path(kFileName));
    (void)store.QueryValue(platform::RegRoot::CurrentUser, "Software", "Fuzz");
    const platform::RegResult changed = Change(store);
    FUZZ_CHECK(!changed);
    FUZZ_CHECK(folder.Read(kFileName) == bytes);
    FUZZ_CHECK(!backend.errors.empty() || changed.Error().cause.find(folder.Path(kFileName)) != std::string::npos);
    FUZZ_CHECK(std::all_of(backend.errors.begin(), backend.errors.end(), [&](const std::string& error) {
        return error.find(folder.Path(kFileName)) != std::string::npos;
    }));
}

// Whether the store splices the file or rewrites it whole.
bool Canonical(std::string_view text)
{
    const auto read = regstore::RegStoreText::Read(regstore::RegText::Held(std::string(text), kFileName));
    FUZZ_CHECK(read.HasValue());
    return read.Value().Index().Canonical();
}

// The store on a file that parses: it reads what the tree reads; its change
// succeeds where the tree's does, silently, and the file it writes parses to
// the tree so changed, and is the tree's text when the file was rewritten.
void CheckStoreChange(std::string_view text, regfile::RegistryTree& tree, bool rewritten,
                      const std::function<platform::RegResult(regstore::RegistryStore&)>& change,
                      const std::function<platform::RegResult(regfile::RegistryTree&)>& treeChange)
{
    TempAppFolder& folder = StoreFolder();
    folder.Write(kFileName, std::string(text));
    RecordingBackend backend;
    toolkit::ScopedBackend installed(backend);
    regstore::RegistryStore store(folder.Path(kFileName));
    CheckSameReads(store, tree);
    const bool changed = change(store).HasValue();
    FUZZ_CHECK(changed == treeChange(tree).HasValue());
    FUZZ_CHECK(backend.errors.empty());
    const std::string written = folder.Read(kFileName);
    const auto reparsed = regfile::ParseRegFile(written, kFileName);
    FUZZ_CHECK_SAID(reparsed.HasValue(), reparsed ? std::string() : reparsed.Error().Message());
    CheckSameValues(tree, Apply(reparsed.Value()));
    if (rewritten && changed)
        FUZZ_CHECK(written == regfile::SerialiseRegFile(tree));
    CheckSameReads(store, tree);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::AsText(data, size);
    const auto parsed = regfile::ParseRegFile(text, kFileName);
    if (!parsed) {
        const regfile::RegFileError& error = parsed.Error();
        const auto lines = 1 + std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r');
        FUZZ_CHECK_SAID(error.line >= 1 && error.line <= lines, error.Message());
        FUZZ_CHECK(error.Message().rfind("\"registry.reg\", line ", 0) == 0);
        // A file of no bytes at all is an empty store, not a broken one.
        if (!text.empty())
            CheckBrokenStoreIsKept(text);
        return 0;
    }

    const regfile::RegistryTree tree = Apply(parsed.Value());
    const std::string written = regfile::SerialiseRegFile(tree);
    const auto reparsed = regfile::ParseRegFile(written, "written.reg");
    FUZZ_CHECK_SAID(reparsed.HasValue(), reparsed ? std::string() : reparsed.Error().Message());
    const regfile::RegistryTree again = Apply(reparsed.Value());
    CheckSameValues(tree, again);
    FUZZ_CHECK(regfile::SerialiseRegFile(again) == written);

    const bool rewritten = !Canonical(text) || text == written;
    regfile::RegistryTree changed = Apply(parsed.Value());
    CheckStoreChange(text, changed, rewritten, Change, Change);

    const auto import = regfile::ParseRegFile(kImport, "import.reg");
    FUZZ_CHECK(import.HasValue());
    regfile::RegistryTree imported = Apply(parsed.Value());
    CheckStoreChange(
        text, imported, rewritten,
        [](regstore::RegistryStore& store) {
            auto file = store.ReadImport(regstore::RegText::Held(kImport, "import.reg"));
            FUZZ_CHECK(file.HasValue());
            return store.Import(file.Value());
        },
        [&](regfile::RegistryTree& tree) { return regfile::ApplyRegFile(import.Value(), tree, regfile::RegFileComments::Drop); });
    return 0;
}
