#pragma once
// The texts of a row of the history of changes: when the backup was made,
// for what, the values it holds and those the registry holds now. The values
// are UTF-16, for a backup's text beyond the code page to show as it is.
#include "changes/BackupHistory.h"
#include "backup/BackupFolder.h"

#include <optional>
#include <string>
#include <vector>

namespace app {

struct HistoryRow {
    std::string when;
    std::string function;
    std::u16string held;
    std::u16string now; // marked when every value is the backup's
};

// A value's data as a registry file writes them, or "(none)" for no value.
std::string DataText(const std::optional<std::string>& data);

// A value as the list shows it (text as text, regfile::ShownText), or "(none)".
std::u16string ShownText(const std::optional<platform::ExactRegValue>& value);

// `compared`: the backup's values beside the registry's, or why the backup
// cannot be read.
HistoryRow HistoryRowOf(const backup::BackupFile& file,
                        const platform::Result<std::vector<changes::HistoryValue>, std::string>& compared);

} // namespace app
