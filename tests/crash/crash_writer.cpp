// Writes the registry store and, through the same atomic writer, a settings
// file, round after round, for a test that kills it at random moments.
//
// crash_writer FOLDER [ROUNDS]: each round sets the counter in
// FOLDER/registry.reg to one more than it holds, then writes FOLDER/config.ini
// for that number. Without ROUNDS it runs until it is killed. A line on
// standard output says that the rounds begin.
#include "crash/CrashFiles.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/regstore/RegistryStore.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string folder = argv[1];
    const long rounds = argc > 2 ? std::atol(argv[2]) : -1;
    tk::RegistryStore store(folder + "/registry.reg");
    std::puts("writing");
    std::fflush(stdout);
    for (long i = 0; rounds < 0 || i < rounds; ++i) {
        const auto current = store.QueryValue(tk::RegRoot::CurrentUser, crash::kCounterKey, crash::kCounterValue);
        if (!current || current.Value().data.size() != 4)
            return 1;
        const auto& d = current.Value().data;
        const std::uint32_t next = (d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24) + 1;
        if (!store.SetValue(tk::RegRoot::CurrentUser, crash::kCounterKey, crash::kCounterValue,
                            tk::RegValue::Dword(next)))
            return 1;
        tk::WriteFileAtomically(folder + "/config.ini", crash::Settings(next));
    }
    return 0;
}
