// The whole program in this process: the real main dialog on the headless
// toolkit, over an installation and a registry store made from the input,
// played by a short command script from the input. Whatever the files hold
// and whatever the user does, the program does not crash and:
// - the store it could read is still readable afterwards, and a store it
//   could not read keeps every byte;
// - the translation file and the catalogue keep every byte, and config.ini
//   keeps its lines (only values change);
// - every backup written is a registry file that an import takes;
// - no temporary file is left behind;
// - what the driver prints is one event a line, control bytes escaped.
//
// Input: config.ini, the translation file, the catalogue, the store and the
// command script, separated by "====\n". The script is bounded: at most 64
// commands and 5 ticks a command, and a file or folder dialog can only be
// answered with a path inside the installation. The shell, the dialogs and
// the clock are the driver's, so nothing reaches the real system.
#include "FuzzSupport.h"
#include "unit/TempAppFolder.h"

#include "app/TunewrightApp.h"
#include "toolkit/Backend.h"
#include "platform/Services.h"
#include "backends/headless/HeadlessBackend.h"
#include "backends/headless/ScriptCommand.h"
#include "regfile/RegFile.h"
#include "regstore/RegImport.h"
#include "regstore/RegistryStore.h"
#include "util/PowerClass.h"
#include "util/TextFile.h"

#include <algorithm>
#include <iterator>
#include <filesystem>
#include <sstream>

using namespace util;
using namespace app;

namespace {

constexpr int kMaxCommands = 64;
constexpr int kMaxTicks = 5;

// A path inside `folder` for a picked file: each part of the picked name
// must be an ordinary name, so that the path cannot lead out.
std::string PickedPath(const std::string& folder, const std::string& name)
{
    std::string path = folder;
    std::istringstream parts(name);
    std::string part;
    while (std::getline(parts, part, '/')) {
        if (part.empty() || part == "." || part == "..")
            return folder + "/picked";
        path += "/" + part;
    }
    return path == folder ? folder + "/picked" : path;
}

// The ticks of a command, bounded.
std::string Ticks(int ticks, const char* lead)
{
    return ticks == 0 ? std::string() : lead + std::to_string(std::min(ticks, kMaxTicks));
}

// The command script the driver gets: the input's lines, bounded. A line the
// driver cannot parse goes as it is, to be reported as a bad command.
std::string Script(std::string_view commands, const std::string& folder)
{
    std::string script;
    std::istringstream lines{std::string(commands)};
    std::string line;
    for (int count = 0; count < kMaxCommands && std::getline(lines, line); ++count) {
        // Read as the driver reads it, line end and all.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::optional<backends::headless::ScriptCommand> command = backends::headless::ParseScriptCommand(line);
        if (command && command->verb == backends::headless::ScriptVerb::Tick)
            line = "tick " + std::to_string(std::min(command->number, kMaxTicks));
        else if (command && command->verb == backends::headless::ScriptVerb::Pick)
            line = "pick " + (command->text == "cancel" ? command->text : PickedPath(folder, command->text)) +
                   Ticks(command->ticks, " tick ");
        else if (command && (command->verb == backends::headless::ScriptVerb::Answer || command->verb == backends::headless::ScriptVerb::Choose))
            line = (command->verb == backends::headless::ScriptVerb::Answer ? "answer " : "choose ") + command->text +
                   Ticks(command->ticks, " tick ");
        script += line + "\n";
    }
    return script;
}

// What the store takes as a registry: a file of no bytes is an empty one.
bool StoreReadable(const std::string& text)
{
    return text.empty() || regfile::ParseRegFile(text, "registry.reg").HasValue();
}

std::string Run(const TempAppFolder& folder, const std::string& script)
{
    std::istringstream in(script);
    std::ostringstream out;
    backends::headless::HeadlessBackend backend(in, out);
    regstore::RegistryStore registry(folder.Path("registry.reg"));
    platform::FixedClock clock(platform::LocalTime{2024, 5, 17, 9, 30});
    platform::Services services;
    services.registry = &registry;
    services.shell = &backend;
    services.clock = &clock;
    services.executablePath = folder.Path("tunewright");
    const platform::ScopedServices installed(services);
    const toolkit::ScopedBackend active(backend);

    backend.QueueLeadingAnswers();
    CTunewrightApp app;
    app.InitInstance();
    // A fuzzed script may hold bad commands; the status only says so.
    static_cast<void>(backend.Finish());
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzz::Parts(fuzz::AsText(data, size), 5);
    const std::string config(parts[0]), translation(parts[1]), catalogue(parts[2]), store(parts[3]);

    TempAppFolder folder;
    folder.Write("config.ini", config);
    const std::string productId = PowerClass().ReadSetting("Product ID");
    if (!fuzz::IsPlainFileName(productId))
        return 0;
    const std::string translationName = productId + "trl.ini";
    folder.Write(translationName, translation);
    folder.Write("0019fct.ini", catalogue);
    folder.Write("registry.reg", store);
    // Saving writes its backups here and never makes the folder itself.
    std::filesystem::create_directory(folder.Folder() / "backup");
    const std::string root = folder.Folder().string();

    const std::string printed = Run(folder, Script(parts[4], root));

    FUZZ_CHECK(std::none_of(printed.begin(), printed.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\n';
    }));
    if (StoreReadable(store))
        FUZZ_CHECK(StoreReadable(folder.Read("registry.reg")));
    else
        FUZZ_CHECK(folder.Read("registry.reg") == store);
    FUZZ_CHECK(folder.Read(translationName) == translation);
    FUZZ_CHECK(folder.Read("0019fct.ini") == catalogue);
    FUZZ_CHECK(SplitLines(folder.Read("config.ini")).size() == SplitLines(config).size());
    // The files this harness wrote may carry ".tw-" in their names themselves.
    const std::string written[] = {"config.ini", translationName, "0019fct.ini", "registry.reg"};
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Folder())) {
        const std::string name = entry.path().filename().string();
        if (std::find(std::begin(written), std::end(written), name) == std::end(written))
            FUZZ_CHECK_SAID(name.find(".tw-") == std::string::npos, entry.path().string());
    }
    for (const auto& backup : std::filesystem::directory_iterator(folder.Folder() / "backup")) {
        const auto parsed = regfile::ParseRegFileBytes(folder.Read("backup/" + backup.path().filename().string()), "backup");
        FUZZ_CHECK_SAID(parsed.HasValue(), parsed ? std::string() : parsed.Error().Message());
    }
    return 0;
}
