#include "saving/Saving.h"

#include "backup/BackupFolder.h"
#include "saving/BackupText.h"
#include "saving/RegistryCause.h"
#include "saving/SaveKey.h"
#include "saving/Texts.h"

namespace saving {

namespace {

// What kept the value that the backup keeps from being read: the registry's
// own words when it gave them (a store names its file).
std::string ReadError(const platform::RegFault& fault)
{
    if (!fault.cause.empty())
        return fault.cause;
    switch (fault.error) {
    case platform::RegError::AccessDenied: return platform::Text(text::CauseAccessDenied);
    case platform::RegError::StoreBroken: return platform::Text(text::CauseCannotRead);
    case platform::RegError::BadKeyPath: return platform::Text(text::CauseNoKey);
    case platform::RegError::KeyNotFound:
    case platform::RegError::ValueNotFound:
    case platform::RegError::WriteFailed: break;
    }
    return platform::Text(text::CauseChangedWhileRead);
}

// What the registry said of a write it refused, in words for the message: a
// store that a save's read got through but its write did not cannot be used,
// rather than read.
std::string WriteError(const platform::RegFault& fault)
{
    if (fault.cause.empty() && fault.error == platform::RegError::StoreBroken)
        return platform::Text(text::CauseCannotUse);
    return CauseText(fault);
}

platform::RegResult Write(util::PowerClass& power, const std::string& valueName, const NewValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return power.WriteStringValue(util::RegistryLocation::FromPath, valueName, *text);
    return power.WriteDwordValue(util::RegistryLocation::FromPath, valueName, std::get<std::int32_t>(value));
}

platform::RegResult CheckWrite(util::PowerClass& power, const std::string& valueName, const NewValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return power.CheckWrite(util::RegistryLocation::FromPath, valueName, platform::RegValue::String(*text));
    return power.CheckWrite(util::RegistryLocation::FromPath, valueName,
                            platform::RegValue::Dword(static_cast<std::uint32_t>(std::get<std::int32_t>(value))));
}

SaveOutcome NotWritten(std::string message)
{
    return SaveOutcome{SaveResult::NotWritten, std::move(message), {}};
}

// The save itself, while no other program writes the registry.
SaveOutcome SaveHeld(const SaveRequest& request, util::PowerClass& power)
{
    const std::optional<NewValue> value = NewValueOf(request.row, request.input);
    if (!value)
        return SaveOutcome{SaveResult::Refused, {}, {}};

    const std::optional<SaveKey> key = ParseSaveKey(request.keyPath);
    if (!key)
        return NotWritten(platform::Text(text::RootNotWritable, {request.valueName, request.keyPath}));
    if (!BackupCanName(*key, request.valueName))
        return NotWritten(platform::Text(text::NameHoldsLineEnd, {request.valueName, key->Text()}));
    const auto prior = ReadPriorValue(power, request.keyPath, *key, request.valueName);
    if (!prior)
        return NotWritten(platform::Text(text::PriorUnreadable, {request.valueName, key->Text(), ReadError(prior.Error())}));

    // What the registry refuses without the write, it refuses before the
    // backup: each retry would leave another backup of a value never changed.
    power.currentKeyPath = request.keyPath;
    if (const platform::RegResult checked = CheckWrite(power, request.valueName, *value); !checked)
        return NotWritten(
            platform::Text(text::NotWrittenNothingChanged, {request.valueName, key->Text(), WriteError(checked.Error())}));

    const auto made = backup::WriteBackup(backup::BackupFolder(request.applicationFolder), request.functionName,
                                          request.functionKey, BackupText(*key, request.valueName, prior.Value()));
    if (!made)
        return SaveOutcome{SaveResult::BackupNotWritten, made.Error().Message(), {}};
    const std::string& backupPath = made.Value();

    power.currentKeyPath = request.keyPath;
    if (const platform::RegResult written = Write(power, request.valueName, *value); !written)
        return SaveOutcome{
            SaveResult::NotWritten,
            platform::Text(text::NotWrittenAfterBackup, {request.valueName, key->Text(), WriteError(written.Error()), backupPath}),
            backupPath};
    return SaveOutcome{SaveResult::Saved, {}, backupPath};
}

} // namespace

SaveOutcome SaveNewValue(const SaveRequest& request, util::PowerClass& power)
{
    // The value that the backup keeps is the one that the write replaces:
    // another program's save between the two would leave a backup of a value
    // this save never replaced.
    SaveOutcome outcome;
    power.RunExclusively([&] { outcome = SaveHeld(request, power); });
    return outcome;
}

std::string NothingToSaveMessage(const std::string& functionName, const std::string& header)
{
    if (functionName.empty())
        return platform::Text(text::NoFunctionShown);
    return platform::Text(text::NoKindToSave, {functionName, header});
}

} // namespace saving
