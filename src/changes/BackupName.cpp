#include "changes/BackupName.h"

#include <string_view>

namespace {

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The copy number of a name that ends in " (N)", N from 2 on.
int CopyOf(std::string& name)
{
    if (!name.ends_with(')'))
        return 1;
    const std::size_t open = name.rfind(" (");
    if (open == std::string::npos)
        return 1;
    const std::string digits = name.substr(open + 2, name.size() - open - 3);
    if (!AllDigits(digits) || digits[0] == '0' || digits.size() > 6)
        return 1;
    const int copy = std::stoi(digits);
    if (copy < 2)
        return 1;
    name.erase(open);
    return copy;
}

} // namespace

std::optional<BackupName> ParseBackupName(const std::string& fileName)
{
    // "backup - " DATE " - " HH "." MM " - " NAME ".reg"
    constexpr std::string_view kLead = "backup - ";
    constexpr std::string_view kTail = ".reg";
    const std::string_view name(fileName);
    constexpr std::size_t kFixed = kLead.size() + 8 + 3 + 5 + 3;
    if (name.size() < kFixed + kTail.size() || !name.starts_with(kLead) || !name.ends_with(kTail))
        return std::nullopt;
    const std::string_view date = name.substr(kLead.size(), 8);
    const std::string_view time = name.substr(kLead.size() + 11, 5);
    if (!AllDigits(date) || name.substr(kLead.size() + 8, 3) != " - " || !AllDigits(time.substr(0, 2)) ||
        time[2] != '.' || !AllDigits(time.substr(3)) || name.substr(kLead.size() + 16, 3) != " - ")
        return std::nullopt;
    BackupName parsed;
    parsed.stamp = std::string(date) + std::string(time.substr(0, 2)) + std::string(time.substr(3));
    parsed.name = std::string(name.substr(kFixed, name.size() - kFixed - kTail.size()));
    parsed.copy = CopyOf(parsed.name);
    return parsed;
}

std::string StampMinuteText(const std::string& stamp)
{
    if (stamp.size() != 12)
        return stamp;
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + "T" + stamp.substr(8, 2) + ":" +
           stamp.substr(10, 2);
}
