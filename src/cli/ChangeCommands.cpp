// history, restore, undo and apply: backups and profiles, each change behind
// one backup of what it changes.
#include "backup/BackupFolder.h"
#include "backup/BackupName.h"
#include "backup/Stamp.h"
#include "catalogue/FunctionFilter.h"
#include "changes/BackupHistory.h"
#include "changes/CarryOut.h"
#include "changes/ChangeSet.h"
#include "changes/RestoreChanges.h"
#include "cli/CommandLine.h"
#include "cli/Context.h"
#include "cli/Texts.h"
#include "cli/ValueCheck.h"
#include "platform/Cp1252.h"
#include "platform/FileSystem.h"
#include "platform/SystemText.h"
#include "regfile/RegFileBytes.h"
#include "regfile/RegValueLine.h"
#include "util/Path.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <iterator>

namespace cli {

namespace {

constexpr const char* kAbsent = "-";

// A line of the file that asks for what a change may not do.
std::string FileFaultText(const std::string& path, const changes::ChangeFileFault& fault)
{
    const platform::TextId& message = fault.kind == changes::ChangeFileFault::Kind::OtherRoot ? text::OtherRoot : text::RemovesKey;
    return platform::Text(message, {path, std::to_string(fault.line), fault.key});
}

// Whether the installation has a catalogue to check values against: a
// folder with the program and no catalogue, as device management delivers
// it, has no functions.
bool HasCatalogue(const Context& context)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::path(catalogue::CataloguePath(context.folder)), ignored);
}

// A value that the function naming it could not hold, told with the line and
// the function's hint.
void TellRefused(Context& context, const std::string& path, const RefusedValue& refused)
{
    context.out.Error(platform::Text(text::RefusedValue, {path, std::to_string(refused.line), refused.data,
                                                     refused.function->name,
                                                     context.translation.Lookup(refused.function->key + 1)}));
}

// Whether every value of a function in the file is one the function could
// hold; a refusal is told.
bool ValuesFit(Context& context, const std::string& path, const regfile::RegFileDocument& document)
{
    if (!HasCatalogue(context))
        return true;
    const std::optional<Functions> functions = LoadFunctions(context);
    if (!functions)
        return false;
    const std::optional<RefusedValue> refused = FirstRefusedValue(*functions, document);
    if (refused)
        TellRefused(context, path, *refused);
    return !refused;
}

// A profile's sections as they are parsed: checked against the functions
// when there is a catalogue, and made into the change set, so that the
// profile is never held whole.
class ProfileReader final : public regfile::RegSectionSink {
public:
    ProfileReader(const ValueChecker* checker, const std::string& path)
        : checker_(checker), changes_(false, path)
    {
    }

    void Expect(std::size_t valueLines) override { changes_.Expect(valueLines); }

    void Section(regfile::RegFileSection section) override
    {
        if (checker_ && !refused_)
            refused_ = checker_->FirstRefused(section);
        changes_.Section(std::move(section));
    }

    void Closing(std::vector<std::string> comments) override { changes_.Closing(std::move(comments)); }

    const std::optional<RefusedValue>& Refused() const { return refused_; }
    platform::Result<changes::ChangeSet, changes::ChangeFileFault> Take() { return changes_.Take(); }

private:
    const ValueChecker* checker_;
    changes::ChangeSetReader changes_;
    std::optional<RefusedValue> refused_;
};

void PrintChanges(Context& context, const changes::ChangePlan& plan, const std::optional<std::string>& backup, bool check)
{
    const std::size_t count = plan.values.size();
    if (context.out.IsJson()) {
        Json changes = Json::array();
        for (const changes::PlannedValue& v : plan.values)
            changes.push_back({{"path", JsonText(backup::KeyText(*v.Change().Key()))},
                               {"value_name", JsonText(std::string(v.Change().Name()))},
                               {"before", JsonText(regfile::ValueDataText(v.Before()))},
                               {"after", JsonText(regfile::ValueDataText(v.Change().Value()))}});
        context.out.Document({{"changed", count}, {"check", check}, {"backup", JsonText(backup)}, {"changes", changes}});
        return;
    }
    for (const changes::PlannedValue& v : plan.values)
        context.out.Line(backup::KeyText(*v.Change().Key()) + "\t" + std::string(v.Change().Name()) + "\t" +
                         regfile::ValueDataText(v.Before()).value_or(kAbsent) + "\t" +
                         regfile::ValueDataText(v.Change().Value()).value_or(kAbsent));
    if (count == 0)
        context.out.Line(platform::Text(text::NothingToChange));
    else if (check)
        context.out.Line(platform::Text(text::ValuesWouldChange, {std::to_string(count)}));
    else
        context.out.Line(platform::Text(text::ValuesChanged, {std::to_string(count), backup.value_or(std::string())}));
}

// A profile piped in, read as a file is: `name` names it in a fault.
platform::Result<void, std::string> ReadStandardInputInto(Context& context, const std::string& name,
                                                    regfile::RegSectionSink& sink)
{
    if (!context.in)
        return platform::Text(text::NothingChanged, {name});
    // The bytes become the text, not a copy of it.
    auto text = regfile::RegFileTextOf({std::istreambuf_iterator<char>(*context.in), std::istreambuf_iterator<char>()},
                                  name);
    if (!text)
        return text.Error().Message();
    const auto parsed = regfile::ParseRegFileSections(text.Value().text, name, text.Value().format, regfile::RegWideText::Keep, sink);
    if (!parsed)
        return parsed.Error().Message();
    return {};
}

// A value as the history shows it, "-" for none.
std::u16string ShownLineText(const std::optional<platform::ExactRegValue>& value)
{
    return value ? regfile::ShownText(*value) : platform::ToUtf16(kAbsent);
}

// The same in words of no language: its type and its text (a REG_MULTI_SZ's
// strings as an array; the data as ValueDataText writes them for any other
// value); null for none.
Json ShownJson(const std::optional<platform::ExactRegValue>& value)
{
    if (!value)
        return Json();
    const regfile::ShownValue shown = regfile::ShownValueOf(*value);
    Json strings = Json::array();
    for (const std::u16string& s : shown.strings)
        strings.push_back(platform::Utf16ToUtf8(s));
    const bool list = shown.text && value->value.type == platform::RegType::MultiSz;
    return {{"type", regfile::RegTypeName(value->value.type)}, {"text", list ? strings : strings.front()}};
}

// The backups of the folder, or nothing when it cannot be read (told).
std::optional<std::vector<backup::BackupFile>> Backups(Context& context)
{
    auto listed = backup::ListBackups(backup::BackupFolder(context.folder));
    if (listed)
        return std::move(listed.Value());
    context.out.Error(listed.Error().Message());
    return std::nullopt;
}

// A backup that gives no change, told: `wrapped` says that nothing was
// changed around the reader's message.
void TellBackupFault(Context& context, const changes::BackupReadFault& fault, bool wrapped)
{
    if (const auto* unreadable = std::get_if<std::string>(&fault.why)) {
        const std::string message = platform::Text(text::BackupUnreadable, {*unreadable});
        context.out.Error(wrapped ? platform::Text(text::NothingChanged, {message}) : message);
        return;
    }
    context.out.Error(FileFaultText(fault.path, std::get<changes::ChangeFileFault>(fault.why)));
}

} // namespace

int CarryOut(Context& context, const changes::ChangeSet& changes, const std::string& name, bool check)
{
    const auto done = changes::CarryOutChanges(context.registry, changes, backup::BackupFolder(context.folder), name, check);
    if (!done) {
        const changes::CarryOutFault& fault = done.Error();
        if (const auto* plan = std::get_if<changes::PlanFault>(&fault); plan && plan->wide) {
            const changes::PlanFault::Wide& wide = *plan->wide;
            context.out.Error(platform::Text(text::NothingChanged,
                                       {platform::Text(text::TextBeyondCodePage,
                                                 {wide.source.path, std::to_string(wide.source.line), plan->name,
                                                  platform::NameCharacters(wide.characters)})}));
        } else if (plan) {
            context.out.Error(platform::Text(
                text::NothingChanged,
                {platform::Text(text::ValueUnreadable, {plan->name, backup::KeyText(plan->key), saving::CauseText(plan->error)})}));
        } else if (const auto* unwritten = std::get_if<backup::BackupFault>(&fault)) {
            context.out.Error(platform::Text(text::NothingChanged, {unwritten->Message()}));
        } else {
            const auto& refused = std::get<changes::ChangeNotApplied>(fault);
            const std::string cause = saving::CauseText(refused.fault);
            context.out.Error(refused.backupPath
                                  ? platform::Text(text::NotApplied, {cause, util::FileNameOf(*refused.backupPath)})
                                  : platform::Text(text::NothingChanged, {cause}));
        }
        return kFailed;
    }
    const changes::ChangePlan& plan = done.Value().plan;
    const std::optional<std::string>& path = done.Value().backupPath;
    PrintChanges(context, plan, path ? std::optional<std::string>(util::FileNameOf(*path)) : std::nullopt, check);
    return check && !plan.values.empty() ? kWouldChange : kDone;
}

int ShowHistory(Context& context)
{
    const std::optional<std::vector<backup::BackupFile>> backups = Backups(context);
    if (!backups)
        return kFailed;
    int status = kDone;
    Json rows = Json::array();
    for (const backup::BackupFile& file : *backups) {
        const auto values = changes::CompareBackup(context.registry, file.path);
        if (!values) {
            context.out.Error(platform::Text(text::BackupUnreadable, {values.Error()}));
            status = kFailed;
            continue;
        }
        const std::string time = backup::StampMinuteText(file.name.stamp);
        for (const changes::HistoryValue& value : values.Value()) {
            if (!value.now) {
                context.out.Error(
                    platform::Text(text::ValueUnreadable, {value.name, backup::KeyText(value.key), saving::CauseText(value.now.Error())}));
                status = kFailed;
                continue;
            }
            const std::optional<platform::ExactRegValue>& current = value.now.Value();
            if (context.out.IsJson()) {
                rows.push_back({{"time", time},
                                {"backup", JsonText(file.fileName)},
                                {"function", JsonText(file.name.name)},
                                {"path", JsonText(backup::KeyText(value.key))},
                                {"value_name", JsonText(value.name)},
                                {"value", JsonText(regfile::ValueDataText(value.held))},
                                {"now", JsonText(regfile::ValueDataText(current))},
                                {"value_shown", ShownJson(value.held)},
                                {"now_shown", ShownJson(current)},
                                {"equal", value.Equal()}});
                continue;
            }
            // The same words in every language: scripts read them.
            context.out.Line(platform::ToUtf16(time + "\t" + file.fileName + "\t" + backup::KeyText(value.key) + "\t" +
                                         value.name + "\t") +
                             ShownLineText(value.held) + u"\t" + ShownLineText(current) + u"\t" +
                             (value.Equal() ? u"equal" : u"differs"));
        }
    }
    if (context.out.IsJson())
        context.out.Document(rows);
    return status;
}

int RestoreBackup(Context& context)
{
    const std::string& given = context.call.operands[0];
    // A bare name is one in the backup folder.
    const bool bare = util::FolderOf(given).empty();
    const std::string path = bare ? util::JoinPath(backup::BackupFolder(context.folder), given) : given;
    const auto changes = changes::RestoreChanges(path);
    if (!changes) {
        TellBackupFault(context, changes.Error(), false);
        return kFailed;
    }
    // One of the history's backups puts back what the registry held, which
    // need not be a value the window would write; any other file is checked
    // as a profile is. It has been read once already.
    const bool fromHistory = platform::FullPath(util::FolderOf(path)) == platform::FullPath(backup::BackupFolder(context.folder)) &&
                             backup::ParseBackupName(util::FileNameOf(path));
    const auto document = fromHistory ? platform::Result<regfile::RegFileDocument, std::string>(regfile::RegFileDocument())
                                      : changes::ReadRegistryFile(path);
    if (!document || !ValuesFit(context, path, document.Value())) {
        if (!document)
            context.out.Error(platform::Text(text::NothingChanged, {document.Error()}));
        return kFailed;
    }
    return CarryOut(context, changes.Value(), changes::RestoreChangeName(util::FileNameOf(path)), context.call.check);
}

int UndoSince(Context& context)
{
    const std::optional<std::vector<backup::BackupFile>> backups = Backups(context);
    if (!backups)
        return kFailed;
    const std::string& since = context.call.since;
    std::vector<backup::BackupFile> undone;
    for (const backup::BackupFile& backup : *backups)
        if (backup.name.stamp >= since)
            undone.push_back(backup);
    if (undone.empty()) {
        if (context.out.IsJson())
            context.out.Document(
                {{"changed", 0}, {"check", context.call.check}, {"backup", nullptr}, {"changes", Json::array()}});
        else
            context.out.Line(platform::Text(text::NoBackupSince, {backup::StampMinuteText(since)}));
        return kDone;
    }
    const auto changes = changes::UndoBackupChanges(undone);
    if (!changes) {
        TellBackupFault(context, changes.Error(), true);
        return kFailed;
    }
    return CarryOut(context, changes.Value(), changes::UndoChangeName(since), context.call.check);
}

int ApplyProfile(Context& context)
{
    const bool piped = context.call.operands[0] == "-";
    const std::string path = piped ? platform::Text(text::StandardInput) : context.call.operands[0];
    std::optional<changes::ChangeSet> changes;
    {
        // The functions are read first so that each section is checked as it
        // is parsed; a fault of theirs is told only after the profile's own.
        std::optional<platform::Result<Functions, std::string>> functions;
        std::optional<ValueChecker> checker;
        if (HasCatalogue(context)) {
            functions.emplace(ReadFunctions(context));
            if (*functions)
                checker.emplace(functions->Value());
        }
        ProfileReader reader(checker ? &*checker : nullptr, path);
        const auto read = piped ? ReadStandardInputInto(context, path, reader) : changes::ReadRegistryFileInto(path, reader);
        if (!read) {
            context.out.Error(platform::Text(text::NothingChanged, {read.Error()}));
            return kFailed;
        }
        if (functions && !*functions) {
            context.out.Error(functions->Error());
            return kFailed;
        }
        if (reader.Refused()) {
            TellRefused(context, path, *reader.Refused());
            return kFailed;
        }
        auto made = reader.Take();
        if (!made) {
            context.out.Error(FileFaultText(path, made.Error()));
            return kFailed;
        }
        changes = std::move(made.Value());
    }
    // A profile from standard input names its backup the same in every language.
    return CarryOut(context, *changes, changes::ProfileChangeName(piped ? "stdin" : util::FileNameOf(path)), context.call.check);
}

} // namespace cli
