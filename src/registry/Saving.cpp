#include "registry/Saving.h"

#include "registry/BackupFile.h"
#include "registry/BackupText.h"
#include "registry/SaveKey.h"

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

bool Write(PowerClass& power, const std::string& valueName, const NewValue& value)
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
    if (!Write(power, request.valueName, *value))
        return SaveOutcome{SaveResult::NotWritten,
                           ValueAndKey(request.valueName, key->Text()) + ". The backup \"" + backup +
                               "\" holds the value from before; the new value was not saved.",
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
