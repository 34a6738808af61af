#include "e2e/Screen.h"

#include <gtest/gtest.h>

#include <sstream>

namespace e2e {

namespace {

bool StartsWith(const std::string& line, const std::string& prefix)
{
    return line.rfind(prefix, 0) == 0;
}

bool IsDumpLine(const std::string& line)
{
    for (const char* prefix : {"control ", "list ", "column ", "item ", "combo ", "entry ", "menu ", "sysmenu "})
        if (StartsWith(line, prefix))
            return true;
    return false;
}

// The quoted text at the end of a dump line.
std::string QuotedTail(const std::string& line)
{
    const auto at = line.find('"');
    return at == std::string::npos ? std::string() : Unquote(line.substr(at));
}

// Every quoted text of a line, in order.
std::vector<std::string> QuotedFields(const std::string& line)
{
    std::vector<std::string> fields;
    for (std::size_t at = line.find('"'); at != std::string::npos;) {
        fields.push_back(Unquote(line.substr(at)));
        std::size_t end = at + 1;
        while (end < line.size() && line[end] != '"')
            end += line[end] == '\\' ? 2 : 1;
        at = line.find('"', end + 1);
    }
    return fields;
}

int NumberAfter(const std::string& line, const std::string& field)
{
    const auto at = line.find(field);
    return at == std::string::npos ? -2 : std::stoi(line.substr(at + field.size()));
}

void Read(Screen& s, const std::string& line)
{
    std::istringstream words(line);
    std::string verb, first, second;
    words >> verb >> first >> second;
    if (verb == "control") {
        ControlView& c = s.controls[std::stoi(first)];
        c.shown = second == "shown";
        c.checked = line.find(" checked \"") != std::string::npos;
        c.text = QuotedTail(line);
    } else if (verb == "list") {
        s.listMark = NumberAfter(line, "mark=");
    } else if (verb == "column") {
        s.columns.push_back(QuotedTail(line));
    } else if (verb == "item") {
        s.items.push_back(QuotedTail(line));
        s.rows.push_back(QuotedFields(line));
        if (second == "selected")
            s.selectedItems.insert(std::stoi(first));
    } else if (verb == "combo") {
        s.comboSel = NumberAfter(line, "sel=");
    } else if (verb == "entry") {
        s.entries.push_back(QuotedTail(line));
    } else if (verb == "menu") {
        s.menu[first] = QuotedTail(line);
    } else if (verb == "sysmenu") {
        s.sysmenu[first] = QuotedTail(line);
    }
}

} // namespace

const ControlView& Screen::Control(int id) const
{
    static const ControlView missing;
    const auto found = controls.find(id);
    if (found == controls.end()) {
        ADD_FAILURE() << "the dump has no control " << id;
        return missing;
    }
    return found->second;
}

std::vector<int> Screen::ShownValueControls() const
{
    std::vector<int> shown;
    for (int id = 1002; id <= 1007; ++id)
        if (Control(id).shown)
            shown.push_back(id);
    return shown;
}

std::vector<Screen> Screens(const std::vector<std::string>& lines)
{
    std::vector<Screen> screens;
    bool inDump = false;
    for (const auto& line : lines) {
        if (!IsDumpLine(line)) {
            inDump = false;
            continue;
        }
        // A dump opens with its controls; a control line after the menus of
        // the previous dump begins the next one.
        if (!inDump || (StartsWith(line, "control ") && !screens.back().menu.empty()))
            screens.emplace_back();
        inDump = true;
        Read(screens.back(), line);
    }
    return screens;
}

Screen LastScreen(const std::vector<std::string>& lines)
{
    const auto screens = Screens(lines);
    if (screens.empty()) {
        ADD_FAILURE() << "no dump in the output";
        return {};
    }
    return screens.back();
}

std::string Unquote(const std::string& quoted)
{
    std::string out;
    for (std::size_t i = 1; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '"')
            break;
        if (c != '\\' || i + 1 >= quoted.size()) {
            out += c;
            continue;
        }
        const char e = quoted[++i];
        if (e == 'n') {
            out += '\n';
        } else if (e == 'x' && i + 2 < quoted.size()) {
            out += static_cast<char>(std::stoi(quoted.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += e;
        }
    }
    return out;
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\')
            out += std::string("\\") + ch;
        else if (c == '\n')
            out += "\\n";
        else if (c < 0x20 || c == 0x7f) {
            const char* const digits = "0123456789ABCDEF";
            out += std::string("\\x") + digits[c >> 4] + digits[c & 0xf];
        } else
            out += ch;
    }
    return out;
}

std::vector<std::string> ShellOpened(const std::vector<std::string>& lines)
{
    const std::string verb = "shell open ";
    std::vector<std::string> targets;
    for (const auto& line : lines)
        if (line.rfind(verb, 0) == 0)
            targets.push_back(Unquote(line.substr(verb.size())));
    return targets;
}

} // namespace e2e
