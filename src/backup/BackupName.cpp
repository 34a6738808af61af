#include "backup/BackupName.h"

#include "backup/Stamp.h"

namespace backup {

namespace {

constexpr std::string_view kLead = "backup - ";
constexpr std::string_view kBetween = " - ";
constexpr std::string_view kTail = ".reg";
// Copy numbers have at most this many digits, so a longer number in
// brackets stays part of the name.
constexpr std::size_t kCopyDigits = 6;

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Where a copy number's " (N)" ending begins: N from 2 on without leading
// zeros, or a " (1)" after such an ending, which only a first copy of a name
// that itself ends like a copy number has. So an "A (1)" of old stays a name.
std::optional<std::size_t> CopyEnding(std::string_view name)
{
    if (!name.ends_with(')'))
        return std::nullopt;
    const std::size_t open = name.rfind(" (");
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::string_view digits = name.substr(open + 2, name.size() - open - 3);
    if (!AllDigits(digits) || digits[0] == '0' || digits.size() > kCopyDigits)
        return std::nullopt;
    if (digits == "1" && !CopyEnding(name.substr(0, open)))
        return std::nullopt;
    return open;
}

std::string CopySuffix(int copy)
{
    return " (" + std::to_string(copy) + ")";
}

} // namespace

std::string FormatBackupName(const BackupName& name)
{
    const auto f = StampFields(name.stamp);
    const bool numbered = name.copy > 1 || CopyEnding(name.name);
    return std::string(kLead) + f[0] + f[1] + f[2] + std::string(kBetween) + f[3] + "." + f[4] +
           std::string(kBetween) + name.name + (numbered ? CopySuffix(name.copy) : std::string()) +
           std::string(kTail);
}

std::optional<BackupName> ParseBackupName(std::string_view fileName)
{
    // The lead, the date, " - ", HH.MM, " - ".
    constexpr std::size_t kTime = kLead.size() + 8 + kBetween.size();
    constexpr std::size_t kFixed = kTime + 5 + kBetween.size();
    if (fileName.size() < kFixed + kTail.size() || !fileName.starts_with(kLead) || !fileName.ends_with(kTail))
        return std::nullopt;
    const std::string_view date = fileName.substr(kLead.size(), 8);
    const std::string_view time = fileName.substr(kTime, 5);
    if (!AllDigits(date) || fileName.substr(kLead.size() + 8, kBetween.size()) != kBetween ||
        !AllDigits(time.substr(0, 2)) || time[2] != '.' || !AllDigits(time.substr(3)) ||
        fileName.substr(kTime + 5, kBetween.size()) != kBetween)
        return std::nullopt;
    BackupName parsed;
    parsed.stamp = std::string(date) + std::string(time.substr(0, 2)) + std::string(time.substr(3));
    std::string_view name = fileName.substr(kFixed, fileName.size() - kFixed - kTail.size());
    if (const std::optional<std::size_t> open = CopyEnding(name)) {
        parsed.copy = std::stoi(std::string(name.substr(*open + 2)));
        name = name.substr(0, *open);
    }
    parsed.name = std::string(name);
    return parsed;
}

std::string NamePart(const std::string& name, int functionKey)
{
    constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    std::string safe = name;
    for (char& c : safe)
        if (static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos)
            c = '_';
    if (safe.find_first_not_of(". ") == std::string::npos)
        return "function " + std::to_string(functionKey);
    return safe;
}

std::string ShortenedName(const std::string& name, std::size_t longest)
{
    // The stamp's fields have fixed widths, so any stamp measures them.
    const std::size_t fixed = FormatBackupName({"000000000000", "", kMaxCopies}).size();
    if (name.size() + fixed <= longest || longest <= fixed)
        return name;
    return name.substr(0, longest - fixed);
}

} // namespace backup
