#pragma once
// A large installation as a power user's would look: a function catalogue
// with every kind of function, a translation file of eight languages (the one
// chosen comes last), config.ini, and a registry store with the values the
// functions show among many others: written by the program itself, or in the
// form of a file that another tool or a hand made.
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct InstallationSize {
    int functions;
    int storeValues;
};

// The store's form. Canonical: as the program writes it, keys in order, each
// once, each below a key with a section of its own. Foreign: the same values
// as a tool's export or a hand-made file may hold them: keys in the order the
// installation made them, which is not the canonical one, no sections for the
// keys above them, and each function's value in a second section of its key,
// after all the others.
enum class StoreForm { Canonical, Foreign };

// The installation the figures are quoted for, and four times it.
inline constexpr InstallationSize kLargeInstallation{2000, 100000};
inline constexpr InstallationSize kHugeInstallation{8000, 400000};

// Where start-up reads its first registry value, and the value that saving
// the first function writes.
inline constexpr const char* kPoliciesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr const char* kPoliciesValue = "EnableLUA";
std::string FunctionSubKey(int function);
std::string FunctionValueName(int function);

std::string StoreText(const InstallationSize& size, StoreForm form = StoreForm::Canonical);

// The files in a fresh temporary folder that goes with the object.
class Installation {
public:
    explicit Installation(const InstallationSize& size, StoreForm form = StoreForm::Canonical);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string File(const std::string& name) const { return folder_ + "/" + name; }
    std::string StorePath() const { return File("registry.reg"); }
    // config.ini, the translation file, the catalogue and the store.
    std::vector<std::string> DataFiles() const;
    std::uintmax_t DataBytes() const;

private:
    std::string folder_;
};

// A fresh temporary folder for one run; throws when none can be made.
std::string MakeTemporaryFolder();
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

} // namespace bench
