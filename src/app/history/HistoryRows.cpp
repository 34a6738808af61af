#include "app/history/HistoryRows.h"

#include "app/history/Texts.h"
#include "changes/RegFileText.h"

std::string DataText(const std::optional<std::string>& data)
{
    return data.value_or(tk::Text(text::NoValue));
}

HistoryRow HistoryRowOf(const BackupFile& backup,
                        const tk::Result<std::vector<HistoryValue>, std::string>& compared)
{
    const std::string& stamp = backup.name.stamp; // YYYYMMDDHHMM
    HistoryRow row{tk::Text(text::BackupTime, {stamp.substr(0, 4), stamp.substr(4, 2), stamp.substr(6, 2),
                                               stamp.substr(8, 2), stamp.substr(10, 2)}),
                   backup.name.name,
                   {},
                   {}};
    if (!compared) {
        row.held = tk::Text(text::CannotRead);
        return row;
    }
    const std::vector<HistoryValue>& values = compared.Value();
    // A value alone is its data; several are each named as a registry file
    // names them.
    const bool named = values.size() > 1;
    bool same = !values.empty();
    for (const HistoryValue& value : values) {
        const std::string lead = (row.held.empty() ? "" : "; ") +
                                 (named ? (value.name.empty() ? std::string("@") : value.name) + "=" : "");
        row.held += lead + DataText(ValueDataText(value.held));
        row.now += lead + (value.now ? DataText(ValueDataText(value.now.Value())) : tk::Text(text::CannotRead));
        same = same && value.Equal();
    }
    if (same)
        row.now = tk::Text(text::SameNow, {row.now});
    return row;
}
