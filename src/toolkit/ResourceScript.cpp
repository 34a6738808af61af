#include "platform/Exceptions.h"
#include "toolkit/Resources.h"

#include <cctype>
#include <limits>
#include <sstream>

namespace toolkit {

namespace {

struct Token {
    enum Kind { Word, Number, String, Punct, End } kind = End;
    std::string text;
    int line = 0;
};

class Lexer {
public:
    Lexer(std::string_view text, std::string fileName) : s_(text), file_(std::move(fileName)) {}

    std::vector<Token> Run()
    {
        std::vector<Token> out;
        while (true) {
            SkipBlanks();
            Token t;
            t.line = line_;
            if (i_ >= s_.size()) {
                out.push_back(t);
                return out;
            }
            const char c = s_[i_];
            if (c == '"') {
                t.kind = Token::String;
                t.text = ReadString();
            } else if (std::isdigit(static_cast<unsigned char>(c)) || (c == '-' && i_ + 1 < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_ + 1])))) {
                t.kind = Token::Number;
                std::size_t start = i_++;
                while (i_ < s_.size() && std::isalnum(static_cast<unsigned char>(s_[i_])))
                    ++i_;
                t.text = std::string(s_.substr(start, i_ - start));
            } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
                t.kind = Token::Word;
                std::size_t start = i_;
                while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_'))
                    ++i_;
                t.text = std::string(s_.substr(start, i_ - start));
            } else if (c == ',' || c == '|') {
                t.kind = Token::Punct;
                t.text = std::string(1, c);
                ++i_;
            } else {
                throw platform::CException(file_ + ", line " + std::to_string(line_) + ": unexpected character '" + std::string(1, c) + "'");
            }
            out.push_back(t);
        }
    }

private:
    void SkipBlanks()
    {
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == '\n') {
                ++line_;
                ++i_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++i_;
            } else if (c == '/' && i_ + 1 < s_.size() && s_[i_ + 1] == '/') {
                while (i_ < s_.size() && s_[i_] != '\n')
                    ++i_;
            } else if (c == '#' && AtLineStart()) {
                while (i_ < s_.size() && s_[i_] != '\n')
                    ++i_;
            } else {
                return;
            }
        }
    }

    bool AtLineStart() const
    {
        for (std::size_t j = i_; j > 0; --j) {
            if (s_[j - 1] == '\n')
                return true;
            if (!std::isspace(static_cast<unsigned char>(s_[j - 1])))
                return false;
        }
        return true;
    }

    std::string ReadString()
    {
        std::string out;
        ++i_; // opening quote
        while (true) {
            if (i_ >= s_.size() || s_[i_] == '\n')
                throw platform::CException(file_ + ", line " + std::to_string(line_) + ": unterminated string");
            const char c = s_[i_++];
            if (c == '"') {
                if (i_ < s_.size() && s_[i_] == '"') { // "" stands for one quote
                    out += '"';
                    ++i_;
                    continue;
                }
                return out;
            }
            if (c == '\\' && i_ < s_.size()) {
                const char e = s_[i_++];
                out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                continue;
            }
            out += c;
        }
    }

    std::string_view s_;
    std::string file_;
    std::size_t i_ = 0;
    int line_ = 1;
};

// The ids and keys that the Windows headers name for the script.
const ResourceSymbols& WindowsSymbols()
{
    static const ResourceSymbols symbols = [] {
        ResourceSymbols s = {{"IDOK", 1}, {"IDCANCEL", 2}};
        for (int n = 1; n <= 24; ++n)
            s["VK_F" + std::to_string(n)] = FunctionKeyCode(n);
        return s;
    }();
    return symbols;
}

// A decimal, octal or 0x number, perhaps in parentheses, that fits an int.
std::optional<int> ParseInteger(std::string text)
{
    if (text.size() > 2 && text.front() == '(' && text.back() == ')')
        text = text.substr(1, text.size() - 2);
    if (text.empty())
        return std::nullopt;
    std::size_t used = 0;
    try {
        const long long value = std::stoll(text, &used, 0);
        if (used == text.size() && value >= std::numeric_limits<int>::min() &&
            value <= std::numeric_limits<int>::max())
            return static_cast<int>(value);
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// Menus nest a few levels deep; a script that nests deeper is broken, and
// reading it must not exhaust the stack.
constexpr int kMaxMenuDepth = 16;

class Parser {
public:
    Parser(std::vector<Token> tokens, std::string fileName, const ResourceSymbols& symbols)
        : t_(std::move(tokens)), file_(std::move(fileName)), symbols_(symbols)
    {
    }

    ResourceScript Run()
    {
        ResourceScript out;
        while (Peek().kind != Token::End) {
            if (IsWord("STRINGTABLE")) {
                Next();
                ParseStringTable(out);
                continue;
            }
            const int id = ExpectId();
            const std::string what = ExpectWord();
            if (what == "ICON")
                out.icons.emplace_back(id, ExpectString());
            else if (what == "BITMAP")
                out.bitmaps.emplace_back(id, ExpectString());
            else if (what == "MENU" || what == "MENUEX")
                out.menus.push_back(ParseMenu(id));
            else if (what == "DIALOG" || what == "DIALOGEX")
                out.dialogs.push_back(ParseDialog(id));
            else if (what == "ACCELERATORS")
                out.accelerators.push_back(ParseAccelerators(id));
            else
                Fail("unknown resource type " + what);
        }
        return out;
    }

private:
    const Token& Peek() const { return t_[pos_]; }
    const Token& Next() { return t_[pos_ < t_.size() - 1 ? pos_++ : pos_]; }
    bool IsWord(std::string_view w) const { return Peek().kind == Token::Word && Peek().text == w; }
    bool IsPunct(char c) const { return Peek().kind == Token::Punct && Peek().text[0] == c; }

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw platform::CException(file_ + ", line " + std::to_string(Peek().line) + ": " + what);
    }

    std::optional<int> Lookup(const std::string& name) const
    {
        for (const ResourceSymbols* table : {&symbols_, &WindowsSymbols()})
            if (const auto found = table->find(name); found != table->end())
                return found->second;
        return std::nullopt;
    }
    int ExpectId()
    {
        if (Peek().kind == Token::Word) {
            if (const std::optional<int> value = Lookup(Peek().text)) {
                Next();
                return *value;
            }
            Fail("the name " + Peek().text + " is not defined in the id header");
        }
        return ExpectNumber();
    }

    int ExpectNumber()
    {
        if (Peek().kind != Token::Number)
            Fail("a number was expected");
        const std::optional<int> value = ParseInteger(Peek().text);
        if (!value)
            Fail(Peek().text + " is no number that fits an int");
        Next();
        return *value;
    }
    std::string ExpectString()
    {
        if (Peek().kind != Token::String)
            Fail("a quoted text was expected");
        return Next().text;
    }
    std::string ExpectWord()
    {
        if (Peek().kind != Token::Word)
            Fail("a keyword was expected");
        return Next().text;
    }
    void Expect(std::string_view word)
    {
        if (!IsWord(word))
            Fail(std::string(word) + " was expected");
        Next();
    }
    void SkipComma()
    {
        if (IsPunct(','))
            Next();
    }

    // NAME | NOT NAME | ...: names are added to or taken from `styles`.
    void ParseStyles(std::set<std::string>& styles)
    {
        while (true) {
            bool negate = false;
            if (IsWord("NOT")) {
                Next();
                negate = true;
            }
            const std::string name = Peek().kind == Token::Number ? Next().text : ExpectWord();
            if (negate)
                styles.erase(name);
            else
                styles.insert(name);
            if (!IsPunct('|'))
                return;
            Next();
        }
    }

    void ParseStringTable(ResourceScript& out)
    {
        Expect("BEGIN");
        while (!IsWord("END")) {
            const int id = ExpectId();
            SkipComma();
            out.strings.emplace_back(id, ExpectString());
        }
        Next();
    }

    // `depth`: 1 for the menu bar, one more for each drop-down.
    std::vector<MenuItemTemplate> ParseMenuItems(int depth)
    {
        std::vector<MenuItemTemplate> items;
        Expect("BEGIN");
        while (!IsWord("END")) {
            MenuItemTemplate item;
            const std::string what = ExpectWord();
            if (what == "POPUP") {
                if (depth == kMaxMenuDepth)
                    Fail("menus nest deeper than " + std::to_string(kMaxMenuDepth) + " levels");
                item.popup = true;
                item.text = ExpectString();
                item.items = ParseMenuItems(depth + 1);
            } else if (what == "MENUITEM") {
                if (IsWord("SEPARATOR")) {
                    Next();
                    item.separator = true;
                } else {
                    item.text = ExpectString();
                    SkipComma();
                    item.id = ExpectId();
                }
            } else {
                Fail("POPUP or MENUITEM was expected");
            }
            items.push_back(std::move(item));
        }
        Next();
        return items;
    }

    MenuTemplate ParseMenu(int id)
    {
        MenuTemplate menu;
        menu.id = id;
        menu.items = ParseMenuItems(1);
        return menu;
    }

    // "A", ID, VIRTKEY, CONTROL or VK_F3, ID, VIRTKEY: keys by their
    // virtual-key code only, as the program's keys work in every keyboard
    // layout.
    AcceleratorTable ParseAccelerators(int id)
    {
        AcceleratorTable table;
        table.id = id;
        Expect("BEGIN");
        while (!IsWord("END")) {
            // Faults name the line where the entry starts.
            const int line = Peek().line;
            const auto fail = [&](const std::string& what) {
                throw platform::CException(file_ + ", line " + std::to_string(line) + ": " + what);
            };
            Accelerator a;
            if (Peek().kind == Token::String) {
                const std::string key = ExpectString();
                if (key.size() != 1 || !(std::isupper(static_cast<unsigned char>(key[0])) ||
                                         std::isdigit(static_cast<unsigned char>(key[0]))))
                    fail("an accelerator key is a capital letter, a digit or a VK_ name");
                a.chord.key = static_cast<unsigned char>(key[0]);
            } else {
                a.chord.key = ExpectId();
            }
            SkipComma();
            a.command = ExpectId();
            bool virtualKey = false;
            while (IsPunct(',')) {
                Next();
                const std::string option = ExpectWord();
                if (option == "VIRTKEY")
                    virtualKey = true;
                else if (option == "CONTROL")
                    a.chord.control = true;
                else if (option == "SHIFT")
                    a.chord.shift = true;
                else if (option == "ALT")
                    a.chord.alt = true;
                else if (option != "NOINVERT")
                    fail("unknown accelerator option " + option);
            }
            if (!virtualKey)
                fail("only VIRTKEY accelerators are read");
            table.entries.push_back(a);
        }
        Next();
        return table;
    }

    static ControlKind KindOf(const std::string& cls, const std::set<std::string>& styles)
    {
        auto has = [&](const char* s) { return styles.count(s) != 0; };
        if (cls == "SysListView32")
            return ControlKind::ListView;
        if (cls == "ComboBox")
            return ControlKind::ComboBox;
        if (cls == "Edit")
            return ControlKind::Edit;
        if (cls == "Static")
            return has("SS_BITMAP") ? ControlKind::StaticBitmap
                 : has("SS_ICON")   ? ControlKind::StaticIcon
                                    : ControlKind::StaticText;
        if (has("BS_GROUPBOX"))
            return ControlKind::GroupBox;
        if (has("BS_AUTORADIOBUTTON") || has("BS_RADIOBUTTON"))
            return ControlKind::RadioButton;
        if (has("BS_AUTOCHECKBOX") || has("BS_CHECKBOX"))
            return ControlKind::CheckBox;
        return ControlKind::PushButton;
    }

    ControlTemplate ParseControl()
    {
        ControlTemplate c;
        if (Peek().kind == Token::String)
            c.text = ExpectString();
        else
            c.resourceId = ExpectId();
        SkipComma();
        c.id = ExpectId();
        SkipComma();
        const std::string cls = ExpectString();
        SkipComma();
        c.styles = {"WS_CHILD", "WS_VISIBLE"};
        ParseStyles(c.styles);
        SkipComma();
        c.x = ExpectNumber();
        SkipComma();
        c.y = ExpectNumber();
        SkipComma();
        c.cx = ExpectNumber();
        SkipComma();
        c.cy = ExpectNumber();
        c.kind = KindOf(cls, c.styles);
        return c;
    }

    DialogTemplate ParseDialog(int id)
    {
        DialogTemplate d;
        d.id = id;
        for (int i = 0; i < 4; ++i) {
            const int v = ExpectNumber();
            if (i == 0)
                d.x = v;
            if (i == 1)
                d.y = v;
            if (i == 2)
                d.cx = v;
            if (i == 3)
                d.cy = v;
            SkipComma();
        }
        while (!IsWord("BEGIN")) {
            const std::string what = ExpectWord();
            if (what == "STYLE") {
                ParseStyles(d.styles);
            } else if (what == "EXSTYLE") {
                std::set<std::string> ex;
                ParseStyles(ex);
                d.styles.insert(ex.begin(), ex.end());
            } else if (what == "CAPTION") {
                d.caption = ExpectString();
            } else if (what == "MENU") {
                d.menuId = ExpectId();
            } else if (what == "FONT") {
                d.fontSize = ExpectNumber();
                SkipComma();
                d.fontName = ExpectString();
            } else {
                Fail("unknown dialog statement " + what);
            }
        }
        Next();
        while (!IsWord("END")) {
            Expect("CONTROL");
            d.controls.push_back(ParseControl());
        }
        Next();
        return d;
    }

    std::vector<Token> t_;
    std::string file_;
    const ResourceSymbols& symbols_;
    std::size_t pos_ = 0;
};

} // namespace

ResourceSymbols ParseResourceSymbols(std::string_view headerText)
{
    ResourceSymbols symbols;
    std::istringstream lines{std::string(headerText)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line.substr(0, line.find("//")));
        std::string directive, name, value, rest;
        if (!(words >> directive >> name >> value) || directive != "#define" || (words >> rest))
            continue;
        if (const std::optional<int> number = ParseInteger(value))
            symbols[name] = *number;
    }
    return symbols;
}

ResourceScript ParseResourceScript(std::string_view text, const std::string& fileName, const ResourceSymbols& symbols)
{
    return Parser(Lexer(text, fileName).Run(), fileName, symbols).Run();
}

} // namespace toolkit
