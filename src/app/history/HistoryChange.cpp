#include "app/history/HistoryChange.h"

#include "app/history/HistoryRows.h"
#include "app/history/Texts.h"
#include "platform/Services.h"
#include "platform/SystemText.h"
#include "regfile/RegValueLine.h"
#include "util/Path.h"

namespace {

// The message of a change names at most this many values.
constexpr std::size_t kNamedValues = 10;

tk::IRegistry& Registry()
{
    return *tk::CurrentServices().registry;
}

std::string NothingChanged(const std::string& why)
{
    return why + "\n\n" + tk::Text(text::HistoryNothingChanged);
}

std::string DoneText(const CarriedOut& done)
{
    const std::vector<PlannedValue>& values = done.plan.values;
    std::string text = tk::Text(text::HistoryValuesChanged,
                                {std::to_string(values.size()), FileNameOf(done.backupPath.value_or(std::string()))}) +
                       "\n";
    for (std::size_t i = 0; i < values.size() && i < kNamedValues; ++i) {
        const PlannedValue& v = values[i];
        const std::string name =
            v.change.Name().empty() ? tk::Text(text::DefaultValueName) : std::string(v.change.Name());
        text += "\n" + tk::Text(text::ChangedValue,
                                {backup::KeyText(*v.change.Key()), name, DataText(tk::ValueDataText(v.Before())),
                                 DataText(tk::ValueDataText(v.change.Value()))});
    }
    if (values.size() > kNamedValues)
        text += "\n" + tk::Text(text::MoreValues, {std::to_string(values.size() - kNamedValues)});
    return text;
}

void Tell(tk::CDialog& owner, const std::string& message, bool failure)
{
    owner.ShowMessageBox(message, tk::Text(text::HistoryCaption),
                         {tk::BoxButtons::Ok, failure ? tk::BoxIcon::Error : tk::BoxIcon::None});
}

} // namespace

std::string ChangeFaultText(const BackupReadFault& fault)
{
    if (const auto* unreadable = std::get_if<std::string>(&fault.why))
        return NothingChanged(tk::Text(text::HistoryBackupUnreadable, {*unreadable}));
    // A backup's line faults only by naming a key below another root.
    const ChangeFileFault& line = std::get<ChangeFileFault>(fault.why);
    return NothingChanged(tk::Text(text::BackupOtherRoot, {fault.path, std::to_string(line.line), line.key}));
}

std::string ChangeFaultText(const CarryOutFault& fault)
{
    if (const auto* unread = std::get_if<PlanFault>(&fault); unread && unread->wide)
        return NothingChanged(tk::Text(text::HistoryTextBeyondCodePage,
                                       {unread->wide->source.path, std::to_string(unread->wide->source.line),
                                        unread->name, tk::NameCharacters(unread->wide->characters)}));
    if (const auto* unread = std::get_if<PlanFault>(&fault))
        return NothingChanged(
            tk::Text(text::HistoryValueUnreadable, {unread->name, backup::KeyText(unread->key), CauseText(unread->error)}));
    if (const auto* unwritten = std::get_if<backup::BackupFault>(&fault))
        return NothingChanged(unwritten->Message());
    const auto& refused = std::get<ChangeNotApplied>(fault);
    if (!refused.backupPath)
        return NothingChanged(CauseText(refused.fault));
    return tk::Text(text::HistoryNotApplied, {CauseText(refused.fault), FileNameOf(*refused.backupPath)});
}

void RunHistoryChange(tk::CDialog& owner, const tk::Result<ChangeSet, BackupReadFault>& changes,
                      const std::string& name, const std::optional<std::string>& question,
                      const std::string& backupFolder, const std::function<void(bool carriedOut)>& tried)
{
    if (!changes) {
        Tell(owner, ChangeFaultText(changes.Error()), true);
        return;
    }
    // Planned here to ask with the number of values, and again when carried
    // out, after the question, in case the registry changed meanwhile.
    const auto planned = PlanChanges(Registry(), changes.Value());
    if (!planned) {
        Tell(owner, ChangeFaultText(CarryOutFault{planned.Error()}), true);
        return;
    }
    const std::size_t count = planned.Value().values.size();
    if (count == 0) {
        Tell(owner, tk::Text(text::HistoryNothingToChange), false);
        return;
    }
    if (question) {
        const std::string ask = *question + "\n\n" + tk::Text(text::ValuesThatChange, {std::to_string(count)});
        if (owner.ShowMessageBox(ask, tk::Text(text::HistoryCaption), {tk::BoxButtons::YesNo, tk::BoxIcon::Question}) !=
            tk::Answer::Yes)
            return;
    }
    const auto done = CarryOutChanges(Registry(), changes.Value(), backupFolder, name, false);
    tried(done.HasValue());
    if (!done) {
        Tell(owner, ChangeFaultText(done.Error()), true);
        return;
    }
    Tell(owner, done.Value().backupPath ? DoneText(done.Value()) : tk::Text(text::HistoryNothingToChange), false);
}
