#include "saving/Saving.h"

#include "saving/BackupFile.h"
#include "saving/BackupText.h"
#include "saving/SaveKey.h"

namespace {

std::string ValueAndKey(const std::string& valueName, const std::string& key)
{
    return "The value \"" + valueName + "\" of the key \"" + key + "\" could not be written";
}

std::string ReadError(tk::RegError error)
{
    switch (error) {
    case tk::RegError::AccessDenied: return "access is denied";
    case tk::RegError::StoreBroken: return "the registry cannot be read";
    case tk::RegError::BadKeyPath: return "the key path names no key";
    case tk::RegError::KeyNotFound:
    case tk::RegError::ValueNotFound:
    case tk::RegError::WriteFailed: break;
    }
    return "the registry changed while it was read";
}

// What the registry said of a write it refused, in words for the message.
std::string WriteError(const tk::RegFault& fault)
{
    if (!fault.cause.empty())
        return fault.cause;
    switch (fault.error) {
    case tk::RegError::AccessDenied: return "access is denied";
    case tk::RegError::StoreBroken: return "the registry cannot be used";
    case tk::RegError::BadKeyPath: return "the key path names no key";
    case tk::RegError::KeyNotFound: return "the key cannot be opened";
    case tk::RegError::ValueNotFound:
    case tk::RegError::WriteFailed: break;
    }
    return "the registry refused the change";
}

tk::RegResult Write(PowerClass& power, const std::string& valueName, const NewValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return power.WriteStringValue(RegistryLocation::FromPath, valueName, *text);
    return power.WriteDwordValue(RegistryLocation::FromPath, valueName, std::get<std::int32_t>(value));
}

SaveOutcome NotWritten(std::string message)
{
    return SaveOutcome{SaveResult::NotWritten, std::move(message), {}};
}

} // namespace

SaveOutcome SaveNewValue(const SaveRequest& request, PowerClass& power)
{
    const std::optional<NewValue> value = NewValueOf(request.row, request.input);
    if (!value)
        return SaveOutcome{SaveResult::Refused, {}, {}};

    const std::optional<SaveKey> key = ParseSaveKey(request.keyPath);
    if (!key)
        return NotWritten(ValueAndKey(request.valueName, request.keyPath) +
                          ": the key path must begin with HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE. Nothing was changed.");
    if (!BackupCanName(*key, request.valueName))
        return NotWritten(ValueAndKey(request.valueName, key->Text()) +
                          ": a backup file cannot hold a line end in a key or value name. Nothing was changed.");
    const auto prior = ReadPriorValue(power, request.keyPath, *key, request.valueName);
    if (!prior)
        return NotWritten(ValueAndKey(request.valueName, key->Text()) + ": its present value cannot be read (" +
                          ReadError(prior.Error()) + "), so no exact backup can be made. Nothing was changed.");

    // Date, hour and minute each from a reading of the clock of its own.
    const std::string dateStamp = power.GetTimestamp();
    const std::string hourStamp = power.GetTimestamp();
    const std::string minuteStamp = power.GetTimestamp();
    const std::string backup =
        WriteBackupFile(BackupFolder(request.applicationFolder),
                        BackupStem(dateStamp, hourStamp, minuteStamp, request.functionName, request.functionKey),
                        BackupText(*key, request.valueName, prior.Value()));

    power.currentKeyPath = request.keyPath;
    if (const tk::RegResult written = Write(power, request.valueName, *value); !written)
        return SaveOutcome{SaveResult::NotWritten,
                           ValueAndKey(request.valueName, key->Text()) + ": " + WriteError(written.Error()) +
                               ". Nothing was written; the backup \"" + backup + "\" holds the value from before.",
                           backup};
    return SaveOutcome{SaveResult::Saved, {}, backup};
}

std::string NothingToSaveMessage(const std::string& functionName, const std::string& header)
{
    if (functionName.empty())
        return "Nothing was saved: no function is shown.";
    return "Nothing was saved: the function \"" + functionName + "\" has no kind that can be saved (its header in "
           "the catalogue is \"" + header + "\").";
}
