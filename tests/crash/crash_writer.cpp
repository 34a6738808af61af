// Writes files the way the program does, round after round, for a test that
// kills it at random moments. Without ROUNDS it runs until it is killed; a
// line on standard output says that the rounds begin.
//
// crash_writer FOLDER [ROUNDS]: each round sets the counter in
// FOLDER/registry.reg to one more than it holds, then sets the language in
// FOLDER/config.ini to that number, as the language choice does.
// crash_writer --backups FOLDER: writes backups into FOLDER/backup, as saving
// does.
#include "crash/CrashFiles.h"

#include "backup/BackupFolder.h"
#include "platform/Services.h"
#include "regstore/RegistryStore.h"
#include "util/PowerClass.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace saving;
using namespace util;

namespace {

int WriteStoreAndSettings(const std::string& folder, long rounds)
{
    regstore::RegistryStore store(folder + "/registry.reg");
    platform::Services services;
    services.registry = &store;
    services.executablePath = folder + "/tunewright";
    const platform::ScopedServices scope(services);
    const PowerClass power;
    std::puts("writing");
    std::fflush(stdout);
    for (long i = 0; rounds < 0 || i < rounds; ++i) {
        const auto current = store.QueryValue(platform::RegRoot::CurrentUser, crash::kCounterKey, crash::kCounterValue);
        if (!current || current.Value().data.size() != 4)
            return 1;
        const auto& d = current.Value().data;
        const std::uint32_t next = (d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24) + 1;
        if (!store.SetValue(platform::RegRoot::CurrentUser, crash::kCounterKey, crash::kCounterValue,
                            platform::RegValue::Dword(next)))
            return 1;
        power.WriteSetting(crash::kSettingsKey, std::to_string(next));
    }
    return 0;
}

int WriteBackups(const std::string& folder)
{
    const std::string content = crash::Backup();
    std::puts("writing");
    std::fflush(stdout);
    for (;;)
        if (!backup::WriteBackup(folder + "/backup", "Crash", 0, content))
            return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--backups")
        return WriteBackups(argv[2]);
    if (argc < 2)
        return 2;
    return WriteStoreAndSettings(argv[1], argc > 2 ? std::atol(argv[2]) : -1);
}
