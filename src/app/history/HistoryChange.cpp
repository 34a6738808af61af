#include "app/history/HistoryChange.h"

#include "app/history/HistoryRows.h"
#include "app/history/Texts.h"
#include "platform/Services.h"
#include "platform/SystemText.h"
#include "regfile/RegValueLine.h"
#include "util/Path.h"

namespace app {

namespace {

// The message of a change names at most this many values.
constexpr std::size_t kNamedValues = 10;

platform::IRegistry& Registry()
{
    return *platform::CurrentServices().registry;
}

std::string NothingChanged(const std::string& why)
{
    return why + "\n\n" + platform::Text(text::HistoryNothingChanged);
}

std::string DoneText(const changes::CarriedOut& done)
{
    const std::vector<changes::PlannedValue>& values = done.plan.values;
    std::string text = platform::Text(text::HistoryValuesChanged,
                                {std::to_string(values.size()), util::FileNameOf(done.backupPath.value_or(std::string()))}) +
                       "\n";
    for (std::size_t i = 0; i < values.size() && i < kNamedValues; ++i) {
        const changes::PlannedValue& v = values[i];
        const std::string name =
            v.Change().Name().empty() ? platform::Text(text::DefaultValueName) : std::string(v.Change().Name());
        text += "\n" + platform::Text(text::ChangedValue,
                                {backup::KeyText(*v.Change().Key()), name, DataText(regfile::ValueDataText(v.Before())),
                                 DataText(regfile::ValueDataText(v.Change().Value()))});
    }
    if (values.size() > kNamedValues)
        text += "\n" + platform::Text(text::MoreValues, {std::to_string(values.size() - kNamedValues)});
    return text;
}

void Tell(toolkit::CDialog& owner, const std::string& message, bool failure)
{
    owner.ShowMessageBox(message, platform::Text(text::HistoryCaption),
                         {toolkit::BoxButtons::Ok, failure ? toolkit::BoxIcon::Error : toolkit::BoxIcon::None});
}

} // namespace

std::string ChangeFaultText(const changes::BackupReadFault& fault)
{
    if (const auto* unreadable = std::get_if<std::string>(&fault.why))
        return NothingChanged(platform::Text(text::HistoryBackupUnreadable, {*unreadable}));
    // A backup's line faults only by naming a key below another root.
    const changes::ChangeFileFault& line = std::get<changes::ChangeFileFault>(fault.why);
    return NothingChanged(platform::Text(text::BackupOtherRoot, {fault.path, std::to_string(line.line), line.key}));
}

std::string ChangeFaultText(const changes::CarryOutFault& fault)
{
    if (const auto* unread = std::get_if<changes::PlanFault>(&fault); unread && unread->wide)
        return NothingChanged(platform::Text(text::HistoryTextBeyondCodePage,
                                       {unread->wide->source.path, std::to_string(unread->wide->source.line),
                                        unread->name, platform::NameCharacters(unread->wide->characters)}));
    if (const auto* unread = std::get_if<changes::PlanFault>(&fault))
        return NothingChanged(
            platform::Text(text::HistoryValueUnreadable, {unread->name, backup::KeyText(unread->key), saving::CauseText(unread->error)}));
    if (const auto* unwritten = std::get_if<backup::BackupFault>(&fault))
        return NothingChanged(unwritten->Message());
    const auto& refused = std::get<changes::ChangeNotApplied>(fault);
    if (!refused.backupPath)
        return NothingChanged(saving::CauseText(refused.fault));
    return platform::Text(text::HistoryNotApplied, {saving::CauseText(refused.fault), util::FileNameOf(*refused.backupPath)});
}

void RunHistoryChange(toolkit::CDialog& owner, const platform::Result<changes::ChangeSet, changes::BackupReadFault>& changes,
                      const std::string& name, const std::optional<std::string>& question,
                      const std::string& backupFolder, const std::function<void(bool carriedOut)>& tried)
{
    if (!changes) {
        Tell(owner, ChangeFaultText(changes.Error()), true);
        return;
    }
    // Planned here to ask with the number of values, and again when carried
    // out, after the question, in case the registry changed meanwhile.
    const auto planned = changes::PlanChanges(Registry(), changes.Value());
    if (!planned) {
        Tell(owner, ChangeFaultText(changes::CarryOutFault{planned.Error()}), true);
        return;
    }
    const std::size_t count = planned.Value().values.size();
    if (count == 0) {
        Tell(owner, platform::Text(text::HistoryNothingToChange), false);
        return;
    }
    if (question) {
        const std::string ask = *question + "\n\n" + platform::Text(text::ValuesThatChange, {std::to_string(count)});
        if (owner.ShowMessageBox(ask, platform::Text(text::HistoryCaption), {toolkit::BoxButtons::YesNo, toolkit::BoxIcon::Question}) !=
            toolkit::Answer::Yes)
            return;
    }
    const auto done = changes::CarryOutChanges(Registry(), changes.Value(), backupFolder, name, false);
    tried(done.HasValue());
    if (!done) {
        Tell(owner, ChangeFaultText(done.Error()), true);
        return;
    }
    Tell(owner, done.Value().backupPath ? DoneText(done.Value()) : platform::Text(text::HistoryNothingToChange), false);
}

} // namespace app
