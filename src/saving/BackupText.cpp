#include "saving/BackupText.h"

#include "backup/BackupBytes.h"
#include "platform/RegNames.h"

#include <algorithm>

namespace saving {

platform::Result<PriorValue, platform::RegFault> ReadPriorValue(util::PowerClass& power, const std::string& keyPath,
                                                    const SaveKey& key, const std::string& valueName)
{
    // The key path exactly as the write will address it.
    power.currentKeyPath = keyPath;
    const auto raw = power.ReadExactValue(valueName);
    if (raw)
        return PriorValue{raw.Value(), {}};
    if (raw.Error() == platform::RegError::ValueNotFound)
        return PriorValue{};
    if (raw.Error() != platform::RegError::KeyNotFound)
        return raw.Error();

    // The write creates every missing key on the path: find the outermost.
    for (std::size_t depth = 1; depth <= key.names.size(); ++depth) {
        power.currentKeyPath = key.PathForm(depth);
        const auto probe = power.ReadRawValue(valueName);
        if (!probe && probe.Error() == platform::RegError::KeyNotFound) {
            PriorValue missing;
            for (std::size_t created = depth; created <= key.names.size(); ++created)
                missing.createdKeys.push_back(key.Text(created));
            return missing;
        }
        if (!probe && probe.Error() != platform::RegError::ValueNotFound)
            return probe.Error();
    }
    // Every key on the path exists now: it was created meanwhile.
    return platform::RegError::KeyNotFound;
}

bool BackupCanName(const SaveKey& key, const std::string& valueName)
{
    return platform::IsStorableName(valueName) &&
           std::all_of(key.names.begin(), key.names.end(), [](const std::string& n) { return platform::IsStorableName(n); });
}

std::string BackupText(const SaveKey& key, const std::string& valueName, const PriorValue& prior)
{
    return backup::FileBytes({{platform::ShareKey(key.KeyPath()), valueName, prior.value, {}}}, prior.createdKeys, backup::Layout::OneValue);
}

} // namespace saving
