#include "cli/Arguments.h"

#include "cli/Texts.h"
#include "platform/ConsoleText.h"
#include "backup/Stamp.h"
#include "util/Minute.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace cli {

namespace {

struct CommandRow {
    std::string_view word;
    Command command;
    std::size_t fewest;
    std::size_t most;            // SIZE_MAX: any number
    std::string_view synopsis;
    bool textOperands;           // names and values, taken into the code page
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

constexpr std::array<CommandRow, 10> kCommands{{
    {"help", Command::Help, 0, 0, "help", false},
    {"list", Command::List, 0, 0, "list [--category N]", false},
    {"get", Command::Get, 1, 1, "get FUNCTION", true},
    {"set", Command::Set, 2, 2, "set FUNCTION VALUE", true},
    {"history", Command::History, 0, 0, "history", false},
    {"restore", Command::Restore, 1, 1, "restore BACKUP [--check]", false},
    {"undo", Command::Undo, 0, 0, "undo --since YYYY-MM-DDTHH:MM [--check]", false},
    {"export", Command::Export, 0, kAny, "export [FUNCTION...] [--category N] [--all]", true},
    {"apply", Command::Apply, 1, 1, "apply FILE [--check]", false},
    {"reset", Command::Reset, 0, kAny, "reset FUNCTION... | reset --all [--check]", true},
}};

const CommandRow* FindCommand(std::string_view word)
{
    for (const CommandRow& row : kCommands)
        if (row.word == word)
            return &row;
    return nullptr;
}

// Options that only some commands take, with the commands that take them.
bool Takes(Command command, std::string_view option)
{
    if (option == "--category")
        return command == Command::List || command == Command::Export;
    if (option == "--since")
        return command == Command::Undo;
    if (option == "--check")
        return command == Command::Apply || command == Command::Restore || command == Command::Undo ||
               command == Command::Reset;
    if (option == "--all")
        return command == Command::Reset || command == Command::Export;
    return true;
}

std::optional<int> Category(const std::string& text)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '5')
        return std::nullopt;
    return text[0] - '0';
}

// A character that the code page lacks is refused as the window refuses it
// in a typed text: the text with "?" for it, and its number.
std::vector<std::string> ForeignNamed(const platform::CodePageText& taken)
{
    return {taken.text, platform::NameCharacters(taken.foreign)};
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    Invocation& call = parsed.call;
    const auto fail = [&parsed](const platform::TextId& message, std::vector<std::string> named = {}) {
        parsed.fault = UsageFault{message, std::move(named)};
        return std::move(parsed);
    };
    const CommandRow* command = nullptr;
    std::vector<std::string> operands;
    std::vector<std::string> commandOptions;
    bool optionsEnded = false;
    bool help = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // Options begin with two dashes: "-1" is a value to set.
        const bool option = !optionsEnded && (arg.starts_with("--") || arg == "-h" || arg == "/?");
        if (!option) {
            if (!command) {
                command = FindCommand(arg);
                if (!command)
                    return fail(text::UnknownCommand, {arg});
            } else {
                operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            help = true;
            continue;
        }
        if (arg == "--json") {
            call.json = true;
            continue;
        }
        if (arg == "--version") {
            call.command = Command::Version;
            continue;
        }
        if (arg == "--check" || arg == "--all") {
            (arg == "--check" ? call.check : call.all) = true;
            commandOptions.push_back(arg);
            continue;
        }
        static constexpr std::array<std::string_view, 5> kValued{"--app-folder", "--registry", "--now", "--category",
                                                                 "--since"};
        if (std::find(kValued.begin(), kValued.end(), arg) == kValued.end())
            return fail(text::UnknownOption, {arg});
        if (i + 1 >= args.size())
            return fail(text::OptionNeedsValue, {arg});
        const std::string& value = args[++i];
        if (arg == "--app-folder" || arg == "--registry") {
            // An empty name would be the installation's own store, which
            // nobody meant.
            if (arg == "--registry" && value.empty())
                return fail(text::EmptyRegistry);
            platform::CodePageText path = platform::ArgumentPath(value);
            if (!path.foreign.empty())
                return fail(text::ForeignArgument, ForeignNamed(path));
            (arg == "--app-folder" ? call.appFolder : call.registryFile) = std::move(path.text);
        } else if (arg == "--category") {
            call.category = Category(value);
            if (!call.category)
                return fail(text::BadCategory, {value});
            commandOptions.push_back(arg);
        } else {
            const std::optional<platform::LocalTime> minute = util::ParseMinute(value);
            if (!minute)
                return fail(text::BadMinute, {arg, value});
            if (arg == "--now") {
                call.now = minute;
            } else {
                call.since = backup::StampOf(*minute);
                commandOptions.push_back(arg);
            }
        }
    }
    if (help) {
        call.command = Command::Help;
        return parsed;
    }
    if (call.command == Command::Version)
        return parsed;
    if (!command)
        return fail(text::NoCommand);
    call.command = command->command;
    for (const std::string& option : commandOptions)
        if (!Takes(call.command, option))
            return fail(text::OptionNotForCommand, {option, std::string(command->word)});
    // reset takes its functions by name or all of them, never neither nor both.
    const bool resetMisnamed = call.command == Command::Reset && operands.empty() != call.all;
    if (operands.size() < command->fewest || operands.size() > command->most || resetMisnamed)
        return fail(text::WrongOperands, {std::string(command->synopsis)});
    if (call.command == Command::Undo && call.since.empty())
        return fail(text::SinceMissing);
    if (call.command == Command::Export && call.json)
        return fail(text::ExportIsNoJson);
    for (std::string& operand : operands) {
        platform::CodePageText taken = command->textOperands ? platform::ArgumentText(operand) : platform::ArgumentPath(operand);
        if (!taken.foreign.empty())
            return fail(text::ForeignArgument, ForeignNamed(taken));
        operand = std::move(taken.text);
    }
    call.operands = std::move(operands);
    return parsed;
}

} // namespace cli
