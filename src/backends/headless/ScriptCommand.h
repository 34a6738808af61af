#pragma once
// One line of the headless driver's script, parsed before it is run: a line
// that names no command, or names one with arguments it cannot take, is
// refused here, so that a typing mistake is never taken for a user's action.
#include "toolkit/Resources.h"

#include <optional>
#include <string>
#include <string_view>

namespace backends::headless {

enum class ScriptVerb { Tick, Select, Category, Check, Type, Click, Menu, Close, Key, Answer, Pick, Choose, Dump };

struct ScriptCommand {
    ScriptVerb verb = ScriptVerb::Dump;
    std::string line;      // as written: the driver's complaints quote it
    int number = 0;        // tick count, list item, category entry, control or command id
    std::string text;      // typed text, answer word (yes, no, ok, cancel), picked path or "cancel", chosen text
    int ticks = 0;         // answer, pick, choose: timer ticks while the box is open
    toolkit::KeyChord key; // key: the key pressed
};

// "F1" to "F24", a letter or a digit, after any of "Ctrl+", "Shift+" and
// "Alt+" (letter case ignored): "Ctrl+F", "F3".
std::optional<toolkit::KeyChord> ParseKeyName(std::string_view name);

// Nothing for an unknown verb or malformed arguments.
std::optional<ScriptCommand> ParseScriptCommand(std::string_view line);

} // namespace backends::headless
