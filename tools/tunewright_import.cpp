// tunewright-import: the registry importer of a Linux installation, as the
// registry editor imports a .reg file on Windows. It asks first (/s: it does
// not), then applies the whole file to the registry store as one change. The
// store is the one --registry names, else $TUNEWRIGHT_REGISTRY, else
// registry.reg beside this program, as the program itself finds it. It
// speaks the language of the installation it lies in.
#include "Texts.h"

#include "i18n/Translation.h"
#include "platform/ConsoleText.h"
#include "platform/Exceptions.h"
#include "platform/Services.h"
#include "platform/Texts.h"
#include "regstore/RegImport.h"
#include "regstore/RegistryPath.h"
#include "regstore/RegistryStore.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kImported = 0;
constexpr int kNotImported = 1;
constexpr int kBadUsage = 2;

struct Command {
    bool help = false;
    bool silent = false;
    std::optional<std::string> registry;
    std::string file;
};

bool IsSilentSwitch(const std::string& arg)
{
    return arg == "/s" || arg == "/S" || arg == "-s" || arg == "-S";
}

// What is wrong with a command line: a message and what it names, worded
// once the installation's language is loaded.
struct Problem {
    const platform::TextId* message;
    std::string argument;
};

platform::Result<Command, Problem> ParseCommand(const std::vector<std::string>& args)
{
    Command command;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            command.help = true;
        } else if (IsSilentSwitch(arg)) {
            command.silent = true;
        } else if (arg == "--registry") {
            if (i + 1 == args.size() || args[i + 1].empty())
                return Problem{&tools::text::ImportNoStoreName, {}};
            command.registry = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Problem{&tools::text::ImportUnknownOption, arg};
        } else if (command.file.empty()) {
            command.file = arg;
        } else {
            return Problem{&tools::text::ImportOneFile, {}};
        }
    }
    if (command.file.empty() && !command.help)
        return Problem{&tools::text::ImportWhichFile, {}};
    return command;
}

// The terminal speaks UTF-8; the texts are in the code page.
std::string Shown(const platform::TextId& id)
{
    return platform::Utf8Text(platform::Text(id));
}

void PrintHelp()
{
    std::cout << Shown(tools::text::ImportUsage) << "\n\n"
              << Shown(tools::text::ImportAbout) << "\n\n  " << Shown(tools::text::ImportOptionRegistry) << "\n  "
              << Shown(tools::text::ImportOptionSilent) << "\n  " << Shown(tools::text::ImportOptionHelp) << "\n\n"
              << Shown(tools::text::ImportExitStatus) << '\n';
}

int Usage(const Problem& problem)
{
    std::cerr << "tunewright-import: " << platform::Utf8Text(platform::Text(*problem.message, {problem.argument})) << '\n'
              << Shown(tools::text::ImportUsage) << '\n';
    return kBadUsage;
}

std::string Folded(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); }),
               text.end());
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// "y" and "yes", and the words of the loaded language; anything else, an
// empty line and the end of input among them, is no.
bool AskOnTerminal(const std::string& question)
{
    std::cout << platform::Utf8Text(question) << ' ' << Shown(tools::text::ImportAnswers) << ' ' << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::cout << '\n';
        return false;
    }
    answer = Folded(answer);
    std::istringstream words(platform::Text(tools::text::ImportYesWords) + " y yes");
    for (std::string word; words >> word;)
        if (!answer.empty() && answer == Folded(word))
            return true;
    return false;
}

// The texts of the installation's language, as the program loads them; a
// folder without the program's data files leaves English.
std::optional<i18n::CTranslation> InstallationLanguage()
{
    i18n::CTranslation translation;
    try {
        translation.Load();
    } catch (const platform::CException&) {
        return std::nullopt;
    }
    return translation;
}

} // namespace

int main(int argc, char** argv)
{
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        std::cerr << "tunewright-import: " << platform::Utf8Text(platform::Text(tools::text::NoOwnFile, {"/proc/self/exe", ec.message()}))
                  << '\n';
        return kNotImported;
    }
    const auto command = ParseCommand(std::vector<std::string>(argv + 1, argv + argc));
    const std::string folder = executable.parent_path().string();
    const std::optional<std::string> named = command ? command.Value().registry : std::nullopt;

    // With no backend installed, the store's own reports go to standard error.
    // The language follows the installation's settings, read from the store
    // the import goes to when they follow the system's language.
    regstore::RegistryStore store(named ? *named : regstore::DefaultRegistryPath(folder));
    platform::Services services;
    services.registry = &store;
    services.executablePath = executable.string();
    const platform::ScopedServices installed(services);
    const std::optional<i18n::CTranslation> language = InstallationLanguage();
    const platform::ScopedTextLookup texts([&language](int key) { return language ? language->Find(key) : std::nullopt; });

    if (!command)
        return Usage(command.Error());
    if (command.Value().help) {
        PrintHelp();
        return kImported;
    }
    const bool silent = command.Value().silent;
    const regstore::RegImportOutcome outcome = regstore::ImportRegFile(
        command.Value().file, store, silent ? regstore::RegImportConfirm() : regstore::RegImportConfirm(AskOnTerminal));
    switch (outcome.status) {
    case regstore::RegImportStatus::Imported:
        if (!silent)
            std::cout << platform::Utf8Text(outcome.message) << '\n';
        return kImported;
    case regstore::RegImportStatus::Declined:
        return kNotImported;
    case regstore::RegImportStatus::Failed:
        break;
    }
    std::cerr << "tunewright-import: " << platform::Utf8Text(outcome.message) << '\n';
    return kNotImported;
}
