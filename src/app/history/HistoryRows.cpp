#include "app/history/HistoryRows.h"

#include "app/history/Texts.h"
#include "backup/Stamp.h"
#include "platform/SystemText.h"
#include "regfile/RegValueLine.h"

namespace app {

std::string DataText(const std::optional<std::string>& data)
{
    return data.value_or(platform::Text(text::NoValue));
}

std::u16string ShownText(const std::optional<platform::ExactRegValue>& value)
{
    return value ? regfile::ShownText(*value) : platform::ToUtf16(platform::Text(text::NoValue));
}

HistoryRow HistoryRowOf(const backup::BackupFile& file,
                        const platform::Result<std::vector<changes::HistoryValue>, std::string>& compared)
{
    const auto f = backup::StampFields(file.name.stamp);
    HistoryRow row{platform::Text(text::BackupTime, {f[0], f[1], f[2], f[3], f[4]}),
                   file.name.name,
                   {},
                   {}};
    if (!compared) {
        row.held = platform::ToUtf16(platform::Text(text::CannotRead));
        return row;
    }
    const std::vector<changes::HistoryValue>& values = compared.Value();
    // A value alone is its data; several are each named as a registry file
    // names them.
    const bool named = values.size() > 1;
    bool same = !values.empty();
    for (const changes::HistoryValue& value : values) {
        const std::u16string lead = platform::ToUtf16(
            (row.held.empty() ? "" : "; ") + (named ? (value.name.empty() ? std::string("@") : value.name) + "=" : ""));
        row.held += lead + ShownText(value.held);
        row.now += lead + (value.now ? ShownText(value.now.Value()) : platform::ToUtf16(platform::Text(text::CannotRead)));
        same = same && value.Equal();
    }
    if (same)
        row.now = platform::TextAroundWide(text::SameNow, row.now);
    return row;
}

} // namespace app
