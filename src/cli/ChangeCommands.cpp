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
std::string FileFaultText(const std::string& path, const ChangeFileFault& fault)
{
    const tk::TextId& message = fault.kind == ChangeFileFault::Kind::OtherRoot ? text::OtherRoot : text::RemovesKey;
    return tk::Text(message, {path, std::to_string(fault.line), fault.key});
}

// Whether the installation has a catalogue to check values against: a
// folder with the program and no catalogue, as device management delivers
// it, has no functions.
bool HasCatalogue(const Context& context)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::path(CataloguePath(context.folder)), ignored);
}

// A value that the function naming it could not hold, told with the line and
// the function's hint.
void TellRefused(Context& context, const std::string& path, const RefusedValue& refused)
{
    context.out.Error(tk::Text(text::RefusedValue, {path, std::to_string(refused.line), refused.data,
                                                     refused.function->name,
                                                     context.translation.Lookup(refused.function->key + 1)}));
}

// Whether every value of a function in the file is one the function could
// hold; a refusal is told.
bool ValuesFit(Context& context, const std::string& path, const tk::RegFileDocument& document)
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
class ProfileReader final : public tk::RegSectionSink {
public:
    ProfileReader(const ValueChecker* checker, const std::string& path)
        : checker_(checker), changes_(false, path)
    {
    }

    void Expect(std::size_t valueLines) override { changes_.Expect(valueLines); }

    void Section(tk::RegFileSection section) override
    {
        if (checker_ && !refused_)
            refused_ = checker_->FirstRefused(section);
        changes_.Section(std::move(section));
    }

    void Closing(std::vector<std::string> comments) override { changes_.Closing(std::move(comments)); }

    const std::optional<RefusedValue>& Refused() const { return refused_; }
    tk::Result<ChangeSet, ChangeFileFault> Take() { return changes_.Take(); }

private:
    const ValueChecker* checker_;
    ChangeSetReader changes_;
    std::optional<RefusedValue> refused_;
};

void PrintChanges(Context& context, const ChangePlan& plan, const std::optional<std::string>& backup, bool check)
{
    const std::size_t count = plan.values.size();
    if (context.out.IsJson()) {
        Json changes = Json::array();
        for (const PlannedValue& v : plan.values)
            changes.push_back({{"path", JsonText(backup::KeyText(*v.change.Key()))},
                               {"value_name", JsonText(std::string(v.change.Name()))},
                               {"before", JsonText(tk::ValueDataText(v.Before()))},
                               {"after", JsonText(tk::ValueDataText(v.change.Value()))}});
        context.out.Document({{"changed", count}, {"check", check}, {"backup", JsonText(backup)}, {"changes", changes}});
        return;
    }
    for (const PlannedValue& v : plan.values)
        context.out.Line(backup::KeyText(*v.change.Key()) + "\t" + std::string(v.change.Name()) + "\t" +
                         tk::ValueDataText(v.Before()).value_or(kAbsent) + "\t" +
                         tk::ValueDataText(v.change.Value()).value_or(kAbsent));
    if (count == 0)
        context.out.Line(tk::Text(text::NothingToChange));
    else if (check)
        context.out.Line(tk::Text(text::ValuesWouldChange, {std::to_string(count)}));
    else
        context.out.Line(tk::Text(text::ValuesChanged, {std::to_string(count), backup.value_or(std::string())}));
}

// A profile piped in, read as a file is: `name` names it in a fault.
tk::Result<void, std::string> ReadStandardInputInto(Context& context, const std::string& name,
                                                    tk::RegSectionSink& sink)
{
    if (!context.in)
        return tk::Text(text::NothingChanged, {name});
    // The bytes become the text, not a copy of it.
    auto text = tk::RegFileTextOf({std::istreambuf_iterator<char>(*context.in), std::istreambuf_iterator<char>()},
                                  name);
    if (!text)
        return text.Error().Message();
    const auto parsed = tk::ParseRegFileSections(text.Value().text, name, text.Value().format, tk::RegWideText::Keep, sink);
    if (!parsed)
        return parsed.Error().Message();
    return {};
}

// A value as the history shows it, "-" for none.
std::u16string ShownLineText(const std::optional<tk::ExactRegValue>& value)
{
    return value ? tk::ShownText(*value) : tk::ToUtf16(kAbsent);
}

// The same in words of no language: its type and its text (a REG_MULTI_SZ's
// strings as an array; the data as ValueDataText writes them for any other
// value); null for none.
Json ShownJson(const std::optional<tk::ExactRegValue>& value)
{
    if (!value)
        return Json();
    const tk::ShownValue shown = tk::ShownValueOf(*value);
    Json strings = Json::array();
    for (const std::u16string& s : shown.strings)
        strings.push_back(tk::Utf16ToUtf8(s));
    const bool list = shown.text && value->value.type == tk::RegType::MultiSz;
    return {{"type", tk::RegTypeName(value->value.type)}, {"text", list ? strings : strings.front()}};
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
void TellBackupFault(Context& context, const BackupReadFault& fault, bool wrapped)
{
    if (const auto* unreadable = std::get_if<std::string>(&fault.why)) {
        const std::string message = tk::Text(text::BackupUnreadable, {*unreadable});
        context.out.Error(wrapped ? tk::Text(text::NothingChanged, {message}) : message);
        return;
    }
    context.out.Error(FileFaultText(fault.path, std::get<ChangeFileFault>(fault.why)));
}

} // namespace

int CarryOut(Context& context, const ChangeSet& changes, const std::string& name, bool check)
{
    const auto done = CarryOutChanges(context.registry, changes, backup::BackupFolder(context.folder), name, check);
    if (!done) {
        const CarryOutFault& fault = done.Error();
        if (const auto* plan = std::get_if<PlanFault>(&fault); plan && plan->wide) {
            const PlanFault::Wide& wide = *plan->wide;
            context.out.Error(tk::Text(text::NothingChanged,
                                       {tk::Text(text::TextBeyondCodePage,
                                                 {wide.source.path, std::to_string(wide.source.line), plan->name,
                                                  tk::NameCharacters(wide.characters)})}));
        } else if (plan) {
            context.out.Error(tk::Text(
                text::NothingChanged,
                {tk::Text(text::ValueUnreadable, {plan->name, backup::KeyText(plan->key), CauseText(plan->error)})}));
        } else if (const auto* unwritten = std::get_if<backup::BackupFault>(&fault)) {
            context.out.Error(tk::Text(text::NothingChanged, {unwritten->Message()}));
        } else {
            const auto& refused = std::get<ChangeNotApplied>(fault);
            const std::string cause = CauseText(refused.fault);
            context.out.Error(refused.backupPath
                                  ? tk::Text(text::NotApplied, {cause, FileNameOf(*refused.backupPath)})
                                  : tk::Text(text::NothingChanged, {cause}));
        }
        return kFailed;
    }
    const ChangePlan& plan = done.Value().plan;
    const std::optional<std::string>& path = done.Value().backupPath;
    PrintChanges(context, plan, path ? std::optional<std::string>(FileNameOf(*path)) : std::nullopt, check);
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
        const auto values = CompareBackup(context.registry, file.path);
        if (!values) {
            context.out.Error(tk::Text(text::BackupUnreadable, {values.Error()}));
            status = kFailed;
            continue;
        }
        const std::string time = backup::StampMinuteText(file.name.stamp);
        for (const HistoryValue& value : values.Value()) {
            if (!value.now) {
                context.out.Error(
                    tk::Text(text::ValueUnreadable, {value.name, backup::KeyText(value.key), CauseText(value.now.Error())}));
                status = kFailed;
                continue;
            }
            const std::optional<tk::ExactRegValue>& current = value.now.Value();
            if (context.out.IsJson()) {
                rows.push_back({{"time", time},
                                {"backup", JsonText(file.fileName)},
                                {"function", JsonText(file.name.name)},
                                {"path", JsonText(backup::KeyText(value.key))},
                                {"value_name", JsonText(value.name)},
                                {"value", JsonText(tk::ValueDataText(value.held))},
                                {"now", JsonText(tk::ValueDataText(current))},
                                {"value_shown", ShownJson(value.held)},
                                {"now_shown", ShownJson(current)},
                                {"equal", value.Equal()}});
                continue;
            }
            // The same words in every language: scripts read them.
            context.out.Line(tk::ToUtf16(time + "\t" + file.fileName + "\t" + backup::KeyText(value.key) + "\t" +
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
    const bool bare = FolderOf(given).empty();
    const std::string path = bare ? JoinPath(backup::BackupFolder(context.folder), given) : given;
    const auto changes = RestoreChanges(path);
    if (!changes) {
        TellBackupFault(context, changes.Error(), false);
        return kFailed;
    }
    // One of the history's backups puts back what the registry held, which
    // need not be a value the window would write; any other file is checked
    // as a profile is. It has been read once already.
    const bool fromHistory = tk::FullPath(FolderOf(path)) == tk::FullPath(backup::BackupFolder(context.folder)) &&
                             backup::ParseBackupName(FileNameOf(path));
    const auto document = fromHistory ? tk::Result<tk::RegFileDocument, std::string>(tk::RegFileDocument())
                                      : ReadRegistryFile(path);
    if (!document || !ValuesFit(context, path, document.Value())) {
        if (!document)
            context.out.Error(tk::Text(text::NothingChanged, {document.Error()}));
        return kFailed;
    }
    return CarryOut(context, changes.Value(), RestoreChangeName(FileNameOf(path)), context.call.check);
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
            context.out.Line(tk::Text(text::NoBackupSince, {backup::StampMinuteText(since)}));
        return kDone;
    }
    const auto changes = UndoBackupChanges(undone);
    if (!changes) {
        TellBackupFault(context, changes.Error(), true);
        return kFailed;
    }
    return CarryOut(context, changes.Value(), UndoChangeName(since), context.call.check);
}

int ApplyProfile(Context& context)
{
    const bool piped = context.call.operands[0] == "-";
    const std::string path = piped ? tk::Text(text::StandardInput) : context.call.operands[0];
    std::optional<ChangeSet> changes;
    {
        // The functions are read first so that each section is checked as it
        // is parsed; a fault of theirs is told only after the profile's own.
        std::optional<tk::Result<Functions, std::string>> functions;
        std::optional<ValueChecker> checker;
        if (HasCatalogue(context)) {
            functions.emplace(ReadFunctions(context));
            if (*functions)
                checker.emplace(functions->Value());
        }
        ProfileReader reader(checker ? &*checker : nullptr, path);
        const auto read = piped ? ReadStandardInputInto(context, path, reader) : ReadRegistryFileInto(path, reader);
        if (!read) {
            context.out.Error(tk::Text(text::NothingChanged, {read.Error()}));
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
    return CarryOut(context, *changes, ProfileChangeName(piped ? "stdin" : FileNameOf(path)), context.call.check);
}

} // namespace cli
