// history, restore, undo and apply: backups and profiles, each change behind
// one backup of what it changes.
#include "changes/BackupList.h"
#include "changes/ChangeSet.h"
#include "changes/RegFileText.h"
#include "cli/CommandLine.h"
#include "cli/Context.h"
#include "cli/Texts.h"
#include "platform/CaseFold.h"
#include "platform/Exceptions.h"
#include "platform/WholeFile.h"
#include "regfile/RegFileBytes.h"
#include "saving/BackupFile.h"
#include "util/Path.h"

#include <nlohmann/json.hpp>

namespace cli {

namespace {

constexpr const char* kAbsent = "-";

tk::Result<tk::RegFileDocument, std::string> ReadRegistryFile(const std::string& path)
{
    std::string bytes;
    try {
        bytes = tk::ReadWholeFile(path, tk::kMaxRegStoreBytes);
    } catch (const tk::CException& e) {
        return std::string(e.what());
    }
    auto document = tk::ParseRegFileBytes(bytes, path);
    if (!document)
        return document.Error().Message();
    return std::move(document.Value());
}

std::optional<ChangeSet> ChangesOf(Context& context, const std::string& path, const tk::RegFileDocument& document,
                                   bool backup)
{
    auto changes = backup ? BackupChanges(document) : ProfileChanges(document);
    if (changes)
        return std::move(changes.Value());
    const ChangeFileFault& fault = changes.Error();
    const tk::TextId& message = fault.kind == ChangeFileFault::Kind::OtherRoot ? text::OtherRoot : text::RemovesKey;
    context.out.Error(tk::Text(message, {path, std::to_string(fault.line), fault.key}));
    return std::nullopt;
}

std::optional<std::string> DataText(const std::optional<tk::ExactRegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(*value);
}

std::optional<std::string> DataText(const std::optional<tk::RegValue>& value)
{
    if (!value)
        return std::nullopt;
    return ValueDataText(tk::ExactRegValue{*value, false});
}

// The backup of a change to many values, named after it; its path. Throws
// tk::CFileException naming the file when it cannot be written.
std::string WriteChangeBackup(Context& context, const std::string& name, const std::string& bytes)
{
    // Date, hour and minute each from a reading of the clock, as saving does.
    const std::string date = context.power.GetTimestamp();
    const std::string hour = context.power.GetTimestamp();
    const std::string minute = context.power.GetTimestamp();
    return WriteBackupFile(BackupFolder(context.folder), BackupStem(date, hour, minute, name, 0), bytes);
}

// "name.reg" without ".reg", in any letter case.
std::string WithoutRegExtension(const std::string& fileName)
{
    constexpr std::string_view kExtension = ".reg";
    if (fileName.size() <= kExtension.size())
        return fileName;
    const std::string tail = fileName.substr(fileName.size() - kExtension.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (tk::FoldCase(tail[i]) != kExtension[i])
            return fileName;
    return fileName.substr(0, fileName.size() - kExtension.size());
}

void PrintChanges(Context& context, const ChangePlan& plan, const std::optional<std::string>& backup, bool check)
{
    const std::size_t count = plan.values.size();
    if (context.out.IsJson()) {
        Json changes = Json::array();
        for (const PlannedValue& v : plan.values)
            changes.push_back({{"path", JsonText(KeyText(v.change.key))},
                               {"value_name", JsonText(v.change.name)},
                               {"before", JsonText(DataText(v.before))},
                               {"after", JsonText(DataText(v.change.value))}});
        context.out.Document({{"changed", count}, {"check", check}, {"backup", JsonText(backup)}, {"changes", changes}});
        return;
    }
    for (const PlannedValue& v : plan.values)
        context.out.Line(KeyText(v.change.key) + "\t" + v.change.name + "\t" + DataText(v.before).value_or(kAbsent) +
                         "\t" + DataText(v.change.value).value_or(kAbsent));
    if (count == 0)
        context.out.Line(tk::Text(text::NothingToChange));
    else if (check)
        context.out.Line(tk::Text(text::ValuesWouldChange, {std::to_string(count)}));
    else
        context.out.Line(tk::Text(text::ValuesChanged, {std::to_string(count), backup.value_or(std::string())}));
}

// The backups of the folder, or nothing when it cannot be read (told).
std::optional<std::vector<BackupFile>> Backups(Context& context)
{
    try {
        return ListBackups(BackupFolder(context.folder));
    } catch (const tk::CException& e) {
        context.out.Error(e.what());
        return std::nullopt;
    }
}

} // namespace

int CarryOut(Context& context, const ChangeSet& changes, const std::string& name, bool check)
{
    const auto planned = PlanChanges(context.registry, changes);
    if (!planned) {
        const PlanFault& fault = planned.Error();
        context.out.Error(tk::Text(
            text::NothingChanged,
            {tk::Text(text::ValueUnreadable, {fault.name, KeyText(fault.key), CauseText(fault.error)})}));
        return kFailed;
    }
    const ChangePlan& plan = planned.Value();
    std::optional<std::string> backup;
    if (!check && !plan.values.empty()) {
        try {
            backup = FileNameOf(WriteChangeBackup(context, name, PlanBackupBytes(plan)));
        } catch (const tk::CException& e) {
            context.out.Error(tk::Text(text::NothingChanged, {e.what()}));
            return kFailed;
        }
    }
    if (!check && (!plan.values.empty() || !plan.emptyKeys.empty())) {
        if (const tk::RegResult applied = ApplyPlan(context.registry, plan); !applied) {
            const std::string cause = CauseText(applied.Error());
            context.out.Error(backup ? tk::Text(text::NotApplied, {cause, *backup})
                                     : tk::Text(text::NothingChanged, {cause}));
            return kFailed;
        }
    }
    PrintChanges(context, plan, backup, check);
    return check && !plan.values.empty() ? kWouldChange : kDone;
}

int ShowHistory(Context& context)
{
    const std::optional<std::vector<BackupFile>> backups = Backups(context);
    if (!backups)
        return kFailed;
    int status = kDone;
    Json rows = Json::array();
    for (const BackupFile& backup : *backups) {
        const auto document = ReadRegistryFile(backup.path);
        if (!document) {
            context.out.Error(tk::Text(text::BackupUnreadable, {document.Error()}));
            status = kFailed;
            continue;
        }
        const std::string time = StampMinuteText(backup.name.stamp);
        for (const tk::RegFileSection& section : document.Value().sections) {
            const tk::RegKeyPath key{section.root, section.subKey};
            for (const tk::RegFileValueLine& line : section.values) {
                auto now = context.registry.QueryExactValue(key.root, key.subKey, line.name);
                if (!now && now.Error() != tk::RegError::ValueNotFound && now.Error() != tk::RegError::KeyNotFound) {
                    context.out.Error(tk::Text(text::ValueUnreadable, {line.name, KeyText(key), CauseText(now.Error())}));
                    status = kFailed;
                    continue;
                }
                const std::optional<tk::ExactRegValue> held =
                    now ? std::optional<tk::ExactRegValue>(now.Value()) : std::nullopt;
                const bool equal = line.value ? held && !held->utf16 && held->value.type == line.value->type &&
                                                    held->value.data == line.value->data
                                              : !held;
                const std::optional<std::string> then = DataText(line.value);
                const std::optional<std::string> current = DataText(held);
                if (context.out.IsJson()) {
                    rows.push_back({{"time", time},
                                    {"backup", JsonText(backup.fileName)},
                                    {"function", JsonText(backup.name.name)},
                                    {"path", JsonText(KeyText(key))},
                                    {"value_name", JsonText(line.name)},
                                    {"value", JsonText(then)},
                                    {"now", JsonText(current)},
                                    {"equal", equal}});
                    continue;
                }
                context.out.Line(time + "\t" + backup.name.name + "\t" + KeyText(key) + "\t" + line.name + "\t" +
                                 then.value_or(kAbsent) + "\t" + current.value_or(kAbsent) + "\t" +
                                 tk::Text(equal ? text::ValueEqual : text::ValueDiffers));
            }
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
    const bool bare = given.find('/') == std::string::npos && given.find(PathSeparator()) == std::string::npos;
    const std::string path = bare ? JoinPath(BackupFolder(context.folder), given) : given;
    const auto document = ReadRegistryFile(path);
    if (!document) {
        context.out.Error(tk::Text(text::BackupUnreadable, {document.Error()}));
        return kFailed;
    }
    const std::optional<ChangeSet> changes = ChangesOf(context, path, document.Value(), true);
    if (!changes)
        return kFailed;
    const std::string fileName = FileNameOf(path);
    const std::optional<BackupName> name = ParseBackupName(fileName);
    return CarryOut(context, *changes, "restore " + (name ? name->name : WithoutRegExtension(fileName)), false);
}

int UndoSince(Context& context)
{
    const std::optional<std::vector<BackupFile>> backups = Backups(context);
    if (!backups)
        return kFailed;
    std::vector<ChangeSet> undone;
    for (const BackupFile& backup : *backups) {
        if (backup.name.stamp < context.call.since)
            continue;
        const auto document = ReadRegistryFile(backup.path);
        if (!document) {
            context.out.Error(tk::Text(text::NothingChanged, {tk::Text(text::BackupUnreadable, {document.Error()})}));
            return kFailed;
        }
        std::optional<ChangeSet> changes = ChangesOf(context, backup.path, document.Value(), true);
        if (!changes)
            return kFailed;
        undone.push_back(std::move(*changes));
    }
    const std::string& since = context.call.since;
    if (undone.empty()) {
        if (context.out.IsJson())
            context.out.Document({{"changed", 0}, {"check", false}, {"backup", nullptr}, {"changes", Json::array()}});
        else
            context.out.Line(tk::Text(text::NoBackupSince, {StampMinuteText(since)}));
        return kDone;
    }
    const std::string name = "undo since " + since.substr(0, 8) + " " + since.substr(8, 2) + "." + since.substr(10, 2);
    return CarryOut(context, UndoChanges(undone), name, false);
}

int ApplyProfile(Context& context)
{
    const std::string& path = context.call.operands[0];
    const auto document = ReadRegistryFile(path);
    if (!document) {
        context.out.Error(tk::Text(text::NothingChanged, {document.Error()}));
        return kFailed;
    }
    const std::optional<ChangeSet> changes = ChangesOf(context, path, document.Value(), false);
    if (!changes)
        return kFailed;
    return CarryOut(context, *changes, "profile " + WithoutRegExtension(FileNameOf(path)), context.call.check);
}

} // namespace cli
