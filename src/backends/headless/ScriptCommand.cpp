#include "backends/headless/ScriptCommand.h"

#include "platform/CaseFold.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace backends::headless {

namespace {

std::string_view Trim(std::string_view s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::optional<int> Integer(std::string_view text)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<int> Count(std::string_view text)
{
    const std::optional<int> n = Integer(text);
    return n && *n >= 0 ? n : std::nullopt;
}

// Takes a trailing `tick` or `tick N` off the argument of a queued answer:
// the ticks that run while its box is open.
int TakeTicks(std::string_view& rest)
{
    const auto lastSpace = rest.find_last_of(' ');
    const std::string_view last = lastSpace == std::string_view::npos ? rest : rest.substr(lastSpace + 1);
    const std::string_view before = lastSpace == std::string_view::npos ? std::string_view() : rest.substr(0, lastSpace);
    if (last == "tick") {
        rest = Trim(before);
        return 1;
    }
    const std::optional<int> n = Count(last);
    const auto wordStart = before.find_last_of(' ');
    const std::string_view word = wordStart == std::string_view::npos ? before : before.substr(wordStart + 1);
    if (!n || lastSpace == std::string_view::npos || Trim(word) != "tick")
        return 0;
    rest = Trim(before.substr(0, wordStart == std::string_view::npos ? 0 : wordStart));
    return *n;
}

const struct {
    std::string_view name;
    ScriptVerb verb;
} kVerbs[] = {
    {"tick", ScriptVerb::Tick},   {"select", ScriptVerb::Select}, {"category", ScriptVerb::Category},
    {"check", ScriptVerb::Check}, {"type", ScriptVerb::Type},     {"click", ScriptVerb::Click},
    {"menu", ScriptVerb::Menu},   {"close", ScriptVerb::Close},   {"key", ScriptVerb::Key},
    {"answer", ScriptVerb::Answer}, {"pick", ScriptVerb::Pick},   {"choose", ScriptVerb::Choose},
    {"dump", ScriptVerb::Dump},
};

} // namespace

std::optional<toolkit::KeyChord> ParseKeyName(std::string_view name)
{
    toolkit::KeyChord chord;
    for (auto plus = name.find('+'); plus != std::string_view::npos && plus + 1 < name.size(); plus = name.find('+')) {
        const std::string_view modifier = name.substr(0, plus);
        if (platform::EqualNoCase(modifier, "Ctrl"))
            chord.control = true;
        else if (platform::EqualNoCase(modifier, "Shift"))
            chord.shift = true;
        else if (platform::EqualNoCase(modifier, "Alt"))
            chord.alt = true;
        else
            return std::nullopt;
        name.remove_prefix(plus + 1);
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        chord.key = std::toupper(static_cast<unsigned char>(name[0]));
        return chord;
    }
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        const std::optional<int> n = Integer(name.substr(1));
        if (n && *n >= 1 && *n <= 24 && name[1] != '0') {
            chord.key = toolkit::FunctionKeyCode(*n);
            return chord;
        }
    }
    return std::nullopt;
}

std::optional<ScriptCommand> ParseScriptCommand(std::string_view line)
{
    ScriptCommand c;
    c.line = std::string(line);
    const std::string_view t = line.substr(std::min(line.size(), line.find_first_not_of(" \t")));
    const auto space = t.find(' ');
    const std::string_view verb = t.substr(0, space);
    // Only `type` keeps its argument as written, blanks included.
    const std::string_view raw = space == std::string_view::npos ? std::string_view() : t.substr(space + 1);
    std::string_view rest = Trim(raw);

    bool known = false;
    for (const auto& v : kVerbs)
        if (v.name == verb) {
            c.verb = v.verb;
            known = true;
        }
    if (!known)
        return std::nullopt;

    switch (c.verb) {
    case ScriptVerb::Tick: {
        const std::optional<int> n = rest.empty() ? 1 : Count(rest);
        if (!n)
            return std::nullopt;
        c.number = *n;
        return c;
    }
    case ScriptVerb::Select:
    case ScriptVerb::Category:
    case ScriptVerb::Check:
    case ScriptVerb::Click:
    case ScriptVerb::Menu: {
        const std::optional<int> n = Integer(rest);
        if (!n)
            return std::nullopt;
        c.number = *n;
        return c;
    }
    case ScriptVerb::Type: {
        const auto sp = raw.find(' ');
        const std::optional<int> id = Integer(raw.substr(0, sp));
        if (!id)
            return std::nullopt;
        c.number = *id;
        c.text = sp == std::string_view::npos ? std::string() : std::string(raw.substr(sp + 1));
        return c;
    }
    case ScriptVerb::Close:
    case ScriptVerb::Dump:
        return rest.empty() ? std::optional<ScriptCommand>(c) : std::nullopt;
    case ScriptVerb::Key: {
        const std::optional<toolkit::KeyChord> key = ParseKeyName(rest);
        if (!key)
            return std::nullopt;
        c.key = *key;
        return c;
    }
    case ScriptVerb::Answer:
    case ScriptVerb::Pick:
    case ScriptVerb::Choose:
        break;
    }

    c.ticks = TakeTicks(rest);
    c.text = std::string(rest);
    if (c.verb == ScriptVerb::Answer && rest != "yes" && rest != "no" && rest != "ok" && rest != "cancel")
        return std::nullopt;
    if (c.verb == ScriptVerb::Pick && rest.empty())
        return std::nullopt;
    return c;
}

} // namespace backends::headless
