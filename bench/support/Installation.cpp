#include "support/Installation.h"

#include "platform/Registry.h"
#include "regfile/RegFile.h"
#include "regfile/RegistryTree.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

namespace {

constexpr int kValuesPerKey = 25;
constexpr int kProductsPerVendor = 8;
const char* const kSections[] = {"Settings", "Recent Files", "Window Placement", "Toolbars", "Options"};
constexpr int kSectionCount = static_cast<int>(std::size(kSections));
const char* const kLanguages[] = {"[1031]", "[1034]", "[1043]", "[1036]", "[1040]", "[1049]", "[1053]", "[1033]"};

// The keys that hold values, spread over both roots the program uses.
struct LeafKey {
    platform::RegRoot root;
    std::string subKey;
};

LeafKey Leaf(int index)
{
    const int vendor = index / (kProductsPerVendor * kSectionCount);
    const int product = index / kSectionCount % kProductsPerVendor;
    return {vendor % 2 ? platform::RegRoot::LocalMachine : platform::RegRoot::CurrentUser,
            "Software\\Vendor " + std::to_string(vendor) + "\\Product " + std::to_string(product) + "\\"
                + kSections[index % kSectionCount]};
}

// The key of a function's value, on which the catalogue, the store and the
// benchmarks that write the value must agree.
LeafKey FunctionLeaf(int function)
{
    return Leaf(function * 7 % 1000);
}

int LeafCount(const InstallationSize& size)
{
    return std::max(1, size.storeValues / kValuesPerKey);
}

int FunctionKind(int function)
{
    return 1 + function % 10;
}

bool HasStoredValue(int function)
{
    return FunctionKind(function) != 4 && function % 13 != 12;
}

platform::RegValue FunctionValue(int function)
{
    switch (FunctionKind(function)) {
    case 1: return platform::RegValue::String(function % 2 ? "1" : "0");
    case 2: return platform::RegValue::String(std::to_string(100 + function));
    case 3: return platform::RegValue::String("D:\\Users\\Power\\Folder " + std::to_string(function));
    case 5: return platform::RegValue::String("D:\\Users\\Power\\Pictures\\Picture " + std::to_string(function) + ".bmp");
    case 6: return platform::RegValue::String("Text of function " + std::to_string(function));
    case 10: return platform::RegValue::String(function % 2 ? "yes" : "no");
    default: return platform::RegValue::Dword(static_cast<std::uint32_t>(function % 2 ? 1 : 100 + function));
    }
}

platform::RegValue FillerValue(int n)
{
    switch (n % 4) {
    case 0: return platform::RegValue::String("C:\\Data\\F" + std::to_string(n % 1000) + ".dat");
    case 1: return platform::RegValue::Dword(static_cast<std::uint32_t>(n));
    case 2: {
        platform::RegValue value;
        value.type = platform::RegType::Binary;
        for (int i = 0; i < 4; ++i)
            value.data.push_back(static_cast<std::uint8_t>(n >> i));
        return value;
    }
    default: return platform::RegValue::String(std::to_string(n % 1000));
    }
}

std::string LanguageSection(const std::string& code, int functions)
{
    std::string text = code + "\r\n00001 Please select your language!\r\n00002 Language " + code + "\r\n";
    for (int key = 5; key <= 260; key += 5)
        text += (key < 10 ? "0000" : key < 100 ? "000" : "00") + std::to_string(key) + " Text " + std::to_string(key)
            + " of the user interface\r\n";
    for (int i = 0; i < functions; ++i) {
        const std::string key = std::to_string(10000 + 10 * i);
        const std::string stem = key.substr(0, key.size() - 1);
        text += key + " Function " + std::to_string(i) + "\r\n";
        text += stem + "1 Please enter a value between 1 and 100000\r\n";
        text += stem + "2 What function " + std::to_string(i) + " changes.\r\n";
    }
    return text + std::to_string(10000 + 10 * functions) + " End of functions\r\n[EOL]\r\n\r\n";
}

std::string KeyPathLine(int function)
{
    const LeafKey leaf = FunctionLeaf(function);
    std::string path(platform::RootName(leaf.root));
    path += "\\\\";
    for (char c : leaf.subKey) {
        path += c;
        if (c == '\\')
            path += c;
    }
    return path;
}

std::string CatalogueText(int functions)
{
    std::string text;
    for (int i = 0; i < functions; ++i) {
        const std::string key = std::to_string(10000 + 10 * i);
        const std::string stem = key.substr(0, key.size() - 1);
        const int kind = FunctionKind(i);
        text += key + " " + (kind < 10 ? "0" : "") + std::to_string(kind) + std::to_string(i % 2)
            + std::to_string(i % 5) + "\r\n";
        if (kind == 4) {
            text += stem + "1 C:\\\\Windows\\\\notepad.exe\r\n";
            continue;
        }
        text += stem + "1 " + KeyPathLine(i) + "\r\n" + stem + "2 " + FunctionValueName(i) + "\r\n";
        if (kind == 2 || kind == 9)
            text += stem + "3 1\r\n" + stem + "4 100000\r\n";
        if (kind == 5)
            text += stem + "3 Pictures (*.bmp)|*.bmp\r\n";
    }
    return text;
}

std::string TranslationText(int functions)
{
    std::string text = "; Translations of the user interface\r\n\r\n";
    for (const char* code : kLanguages)
        text += LanguageSection(code, functions);
    return text;
}

std::string ConfigText()
{
    return "Product ID\r\n0019\r\nLanguage\r\n" + std::string(std::end(kLanguages)[-1])
        + "\r\nHomepage\r\nhttps://www.orvelle.example/tunewright\r\n";
}

} // namespace

std::string FunctionSubKey(int function)
{
    return FunctionLeaf(function).subKey;
}

std::string FunctionValueName(int function)
{
    return "Tune" + std::to_string(function);
}

namespace {

struct StoreValue {
    LeafKey key;
    std::string name;
    platform::RegValue value;
};

// Every value of the store: the start-up question's, the functions', then
// the others spread over the leaf keys in turn.
struct StoreContent {
    StoreValue policy;
    std::vector<StoreValue> functions;
    std::vector<std::vector<StoreValue>> leaves; // by leaf number
};

StoreContent ContentOf(const InstallationSize& size)
{
    StoreContent content{{{platform::RegRoot::LocalMachine, kPoliciesKey}, kPoliciesValue, platform::RegValue::Dword(1)}, {}, {}};
    int stored = 1;
    for (int i = 0; i < size.functions && stored < size.storeValues; ++i) {
        if (!HasStoredValue(i))
            continue;
        content.functions.push_back({FunctionLeaf(i), FunctionValueName(i), FunctionValue(i)});
        ++stored;
    }
    content.leaves.resize(static_cast<std::size_t>(LeafCount(size)));
    for (int n = 0; stored < size.storeValues; ++n, ++stored) {
        const int leaf = n % LeafCount(size);
        content.leaves[static_cast<std::size_t>(leaf)].push_back({Leaf(leaf), "V" + std::to_string(n), FillerValue(n)});
    }
    return content;
}

std::string LeafComment(int leaf)
{
    return "; settings of product " + std::to_string(leaf);
}

// Written by the program's own serialiser, so the file is one that the
// program could have written, with a comment before every fiftieth key.
std::string CanonicalText(const StoreContent& content)
{
    regfile::RegistryTree tree;
    const auto set = [&tree](const StoreValue& v) {
        if (!tree.SetValue(v.key.root, v.key.subKey, v.name, v.value))
            throw std::runtime_error("cannot fill the registry store");
    };
    set(content.policy);
    for (const StoreValue& v : content.functions)
        set(v);
    for (const auto& leaf : content.leaves)
        for (const StoreValue& v : leaf)
            set(v);
    for (std::size_t k = 0; k < content.leaves.size(); k += 50) {
        const LeafKey leaf = Leaf(static_cast<int>(k));
        tree.AddKeyComments(leaf.root, leaf.subKey, {LeafComment(static_cast<int>(k))});
    }
    return regfile::SerialiseRegFile(tree);
}

void AppendSection(std::string& out, const LeafKey& key, const std::vector<StoreValue>& values)
{
    out += "\r\n";
    regfile::AppendRegKeyLine(out, key.root, key.subKey);
    for (const StoreValue& v : values)
        regfile::AppendRegValueLine(out, v.name, v.value);
}

std::string ForeignText(const StoreContent& content)
{
    std::string out = "REGEDIT4\r\n";
    for (std::size_t k = 0; k < content.leaves.size(); ++k) {
        if (k == content.leaves.size() / 2)
            AppendSection(out, content.policy.key, {content.policy});
        if (k % 50 == 0)
            out += "\r\n" + LeafComment(static_cast<int>(k));
        AppendSection(out, Leaf(static_cast<int>(k)), content.leaves[k]);
    }
    for (const StoreValue& v : content.functions)
        AppendSection(out, v.key, {v});
    return out;
}

} // namespace

std::string StoreText(const InstallationSize& size, StoreForm form)
{
    const StoreContent content = ContentOf(size);
    return form == StoreForm::Canonical ? CanonicalText(content) : ForeignText(content);
}

Installation::Installation(const InstallationSize& size, StoreForm form) : folder_(MakeTemporaryFolder())
{
    WriteBytes(File("config.ini"), ConfigText());
    WriteBytes(File("0019trl.ini"), TranslationText(size.functions));
    WriteBytes(File("0019fct.ini"), CatalogueText(size.functions));
    WriteBytes(StorePath(), StoreText(size, form));
}

Installation::~Installation()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::vector<std::string> Installation::DataFiles() const
{
    return {File("config.ini"), File("0019trl.ini"), File("0019fct.ini"), StorePath()};
}

std::uintmax_t Installation::DataBytes() const
{
    std::uintmax_t bytes = 0;
    for (const std::string& file : DataFiles())
        bytes += std::filesystem::file_size(file);
    return bytes;
}

std::string MakeTemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tunewright-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

// As little as reading can do: one read of the size the file has.
std::string ReadBytes(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct ::stat st{};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot read " + path);
    }
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    const ssize_t n = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    if (n != st.st_size)
        throw std::runtime_error("cannot read " + path);
    return bytes;
}

} // namespace bench
