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
    const tk::TextId* message;
    std::string argument;
};

tk::Result<Command, Problem> ParseCommand(const std::vector<std::string>& args)
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
                return Problem{&text::ImportNoStoreName, {}};
            command.registry = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Problem{&text::ImportUnknownOption, arg};
        } else if (command.file.empty()) {
            command.file = arg;
        } else {
            return Problem{&text::ImportOneFile, {}};
        }
    }
    if (command.file.empty() && !command.help)
        return Problem{&text::ImportWhichFile, {}};
    return command;
}

// The terminal speaks UTF-8; the texts are in the code page.
std::string Shown(const tk::TextId& id)
{
    return tk::Utf8Text(tk::Text(id));
}

void PrintHelp()
{
    std::cout << Shown(text::ImportUsage) << "\n\n"
              << Shown(text::ImportAbout) << "\n\n  " << Shown(text::ImportOptionRegistry) << "\n  "
              << Shown(text::ImportOptionSilent) << "\n  " << Shown(text::ImportOptionHelp) << "\n\n"
              << Shown(text::ImportExitStatus) << '\n';
}

int Usage(const Problem& problem)
{
    std::cerr << "tunewright-import: " << tk::Utf8Text(tk::Text(*problem.message, {problem.argument})) << '\n'
              << Shown(text::ImportUsage) << '\n';
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
    std::cout << tk::Utf8Text(question) << ' ' << Shown(text::ImportAnswers) << ' ' << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) {
        std::cout << '\n';
        return false;
    }
    answer = Folded(answer);
    std::istringstream words(tk::Text(text::ImportYesWords) + " y yes");
    for (std::string word; words >> word;)
        if (!answer.empty() && answer == Folded(word))
            return true;
    return false;
}

// The texts of the installation's language, as the program loads them; a
// folder without the program's data files leaves English.
std::optional<CTranslation> InstallationLanguage()
{
    CTranslation translation;
    try {
        translation.Load();
    } catch (const tk::CException&) {
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
        std::cerr << "tunewright-import: " << tk::Utf8Text(tk::Text(text::NoOwnFile, {"/proc/self/exe", ec.message()}))
                  << '\n';
        return kNotImported;
    }
    const auto command = ParseCommand(std::vector<std::string>(argv + 1, argv + argc));
    const std::string folder = executable.parent_path().string();
    const std::optional<std::string> named = command ? command.Value().registry : std::nullopt;

    // With no backend installed, the store's own reports go to standard error.
    // The language follows the installation's settings, read from the store
    // the import goes to when they follow the system's language.
    tk::RegistryStore store(named ? *named : tk::DefaultRegistryPath(folder));
    tk::Services services;
    services.registry = &store;
    services.executablePath = executable.string();
    const tk::ScopedServices installed(services);
    const std::optional<CTranslation> language = InstallationLanguage();
    const tk::ScopedTextLookup texts([&language](int key) { return language ? language->Find(key) : std::nullopt; });

    if (!command)
        return Usage(command.Error());
    if (command.Value().help) {
        PrintHelp();
        return kImported;
    }
    const bool silent = command.Value().silent;
    const tk::RegImportOutcome outcome = tk::ImportRegFile(
        command.Value().file, store, silent ? tk::RegImportConfirm() : tk::RegImportConfirm(AskOnTerminal));
    switch (outcome.status) {
    case tk::RegImportStatus::Imported:
        if (!silent)
            std::cout << tk::Utf8Text(outcome.message) << '\n';
        return kImported;
    case tk::RegImportStatus::Declined:
        return kNotImported;
    case tk::RegImportStatus::Failed:
        break;
    }
    std::cerr << "tunewright-import: " << tk::Utf8Text(outcome.message) << '\n';
    return kNotImported;
}
