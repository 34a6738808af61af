#pragma once
// The command line of tunewright-cli, read into a plain struct before
// anything is done: options begin with "--" and may stand before or after the
// command; "--" ends them, so that an operand may begin with two dashes.
#include "platform/Services.h"
#include "platform/Texts.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Command { Help, Version, List, Get, Set, History, Restore, Undo, Export, Apply, Reset };

struct Invocation {
    Command command = Command::Help;
    std::string appFolder;                  // empty: the folder of the program
    std::string registryFile;               // empty: the platform's default
    std::optional<platform::LocalTime> now; // the clock for backup names
    bool json = false;
    // Functions, values and the file of restore and apply, as given; names and
    // values in the system code page.
    std::vector<std::string> operands;
    std::optional<int> category;          // list, export
    std::string since;                    // undo: YYYYMMDDHHMM
    bool check = false;                   // apply, restore, undo, reset: change nothing
    bool all = false;                     // reset: every function; export: those that name a machine or person too
};

// What is wrong with a command line: a message and what it names, worded
// once the installation's translation is loaded.
struct UsageFault {
    platform::TextId message;
    std::vector<std::string> args;
};

struct ParsedArguments {
    // As far as it was read: its installation folder names the translation
    // that words a fault.
    Invocation call;
    std::optional<UsageFault> fault;
};

ParsedArguments ParseArguments(const std::vector<std::string>& args);

} // namespace cli
