// tunewright-help-text: the help as plain text for the terminal, made at
// build time from the same HTML pages that help.chm is compiled from, so that
// there is one source for both.
//
//   tunewright-help-text OUTPUT PROJECT.hhp
//
// The pages are those of the help project's [FILES] section, in its order,
// beside the project file.
// The pages use a small part of HTML: headings h1 and h2, paragraphs, lists
// (ul, ol, dl) and the inline elements a, b, i, em, strong, code and br; the
// head is skipped. Anything else is refused naming the file and line, so the
// text never silently loses a part of the help. OUTPUT is Windows-1252 with
// CR LF: a heading is underlined, a paragraph or list item is one line that
// the viewer wraps, indented by its depth, and a blank line stands between
// blocks.
#include "platform/Cp1252.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Fault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const std::map<std::string, std::string, std::less<>> kEntities = {
    {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "},
};

class Converter {
public:
    Converter(std::string file, std::string_view html) : file_(std::move(file)), html_(html) {}

    // Appends the page's text to `out`, as UTF-8.
    void Convert(std::string& out)
    {
        out_ = &out;
        while (at_ < html_.size()) {
            if (html_.compare(at_, 4, "<!--") == 0)
                Skip("-->");
            else if (html_.compare(at_, 2, "<!") == 0)
                Skip(">");
            else if (html_[at_] == '<')
                Tag();
            else
                Text();
        }
        if (!open_.empty())
            Fail("<" + open_.back() + "> is not closed");
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        const auto line = 1 + std::count(html_.begin(), html_.begin() + static_cast<std::ptrdiff_t>(at_), '\n');
        throw Fault(file_ + ", line " + std::to_string(line) + ": " + what);
    }

    void Skip(std::string_view end)
    {
        const auto found = html_.find(end, at_);
        if (found == std::string_view::npos)
            Fail("\"" + std::string(end) + "\" is missing");
        at_ = found + end.size();
    }

    void Text()
    {
        const auto end = html_.find('<', at_);
        const std::string_view raw = html_.substr(at_, end - at_);
        at_ = end == std::string_view::npos ? html_.size() : end;
        if (inHead_)
            return;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const char c = raw[i];
            if (std::isspace(static_cast<unsigned char>(c))) {
                Space();
            } else if (c == '&') {
                const auto semi = raw.find(';', i);
                if (semi == std::string_view::npos)
                    Fail("an \"&\" without \";\"");
                Word(Entity(raw.substr(i + 1, semi - i - 1)));
                i = semi;
            } else {
                Word(std::string(1, c));
            }
        }
    }

    std::string Entity(std::string_view name) const
    {
        if (name.size() > 1 && name[0] == '#') {
            const char32_t code = static_cast<char32_t>(std::stoul(std::string(name.substr(1))));
            std::string utf8;
            platform::AppendUtf8(utf8, code);
            return utf8;
        }
        const auto found = kEntities.find(name);
        if (found == kEntities.end())
            Fail("the entity &" + std::string(name) + "; is not known");
        return found->second;
    }

    void Space()
    {
        if (!block_.empty() && block_.back() != ' ')
            block_ += ' ';
    }

    void Word(const std::string& text)
    {
        if (!inBlock_)
            Fail("text outside a heading, paragraph or list item");
        block_ += text;
    }

    void Tag()
    {
        const auto end = html_.find('>', at_);
        if (end == std::string_view::npos)
            Fail("a tag without \">\"");
        std::string_view inside = html_.substr(at_ + 1, end - at_ - 1);
        const bool closing = !inside.empty() && inside[0] == '/';
        if (closing)
            inside.remove_prefix(1);
        std::string name;
        for (const char c : inside) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                break;
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (closing)
            Close(name);
        else
            Open(name);
        at_ = end + 1;
    }

    void Open(const std::string& name)
    {
        if (name == "html" || name == "body" || name == "meta" || name == "title" || name == "head") {
            inHead_ = inHead_ || name == "head";
            if (name != "meta")
                open_.push_back(name);
        } else if (name == "a" || name == "b" || name == "i" || name == "em" || name == "strong" || name == "code") {
            open_.push_back(name);
        } else if (name == "br") {
            Space();
        } else if (name == "ul" || name == "ol" || name == "dl") {
            if (inBlock_)
                Fail("a list inside a text");
            lists_.push_back({name, 0});
            open_.push_back(name);
        } else if (name == "h1" || name == "h2" || name == "p" || name == "li" || name == "dt" || name == "dd") {
            if (inBlock_)
                Fail("<" + name + "> inside a text");
            inBlock_ = true;
            block_.clear();
            open_.push_back(name);
        } else {
            Fail("the help's pages use no <" + name + ">");
        }
    }

    void Close(const std::string& name)
    {
        if (open_.empty() || open_.back() != name)
            Fail("</" + name + "> closes nothing open");
        open_.pop_back();
        if (name == "head")
            inHead_ = false;
        if (name == "ul" || name == "ol" || name == "dl") {
            lists_.pop_back();
            listGap_ = true;
            return;
        }
        if (name == "h1" || name == "h2" || name == "p" || name == "li" || name == "dt" || name == "dd")
            EndBlock(name);
    }

    void EndBlock(const std::string& name)
    {
        inBlock_ = false;
        while (!block_.empty() && block_.back() == ' ')
            block_.pop_back();
        const std::string text = block_.empty() || block_[0] != ' ' ? block_ : block_.substr(1);
        std::string& out = *out_;
        const bool item = name == "li" || name == "dt" || name == "dd";
        // A blank line between blocks; a list's items follow each other.
        if (!out.empty() && (!item || !inList_ || listGap_))
            out += "\n";
        listGap_ = false;
        inList_ = item;
        const std::string indent(2 * (lists_.empty() ? 0 : lists_.size() - 1), ' ');
        if (name == "h1" || name == "h2") {
            out += text + "\n" + std::string(Characters(text), name == "h1" ? '=' : '-') + "\n";
        } else if (name == "li") {
            const std::string mark = lists_.back().kind == "ol" ? std::to_string(++lists_.back().items) + ". " : "- ";
            out += indent + "  " + mark + text + "\n";
        } else if (name == "dt") {
            out += indent + "  " + text + "\n";
        } else if (name == "dd") {
            out += indent + "      " + text + "\n";
        } else {
            out += text + "\n";
        }
    }

    static std::size_t Characters(const std::string& utf8)
    {
        std::size_t n = 0;
        for (const char c : utf8)
            n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return n;
    }

    struct List {
        std::string kind;
        int items;
    };

    std::string file_;
    std::string_view html_;
    std::size_t at_ = 0;
    std::string* out_ = nullptr;
    std::vector<std::string> open_;
    std::vector<List> lists_;
    std::string block_;
    bool inHead_ = false;
    bool inBlock_ = false;
    bool inList_ = false;
    bool listGap_ = false;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Fault(path + ": cannot be read");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The pages of the [FILES] section, as paths beside the project file.
std::vector<std::string> ProjectPages(const std::string& project)
{
    const std::string folder = project.substr(0, project.find_last_of('/') + 1);
    std::vector<std::string> pages;
    bool inFiles = false;
    std::string line;
    for (std::istringstream lines(ReadFile(project)); std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[')
            inFiles = line == "[FILES]";
        else if (inFiles && !line.empty())
            pages.push_back(folder + line);
    }
    if (pages.empty())
        throw Fault(project + ": no pages in its [FILES] section");
    return pages;
}

// Windows-1252 with CR LF; a character the code page lacks is refused.
std::string ForTheProgram(const std::string& utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const platform::Utf8Step step = platform::DecodeUtf8(std::string_view(utf8).substr(i));
        const auto byte = step.kind == platform::Utf8Step::Kind::Char ? platform::EncodeCp1252(step.ch) : std::nullopt;
        if (!byte)
            throw Fault("the help holds a character that Windows-1252 lacks, near \"" +
                        utf8.substr(i > 20 ? i - 20 : 0, 40) + "\"");
        if (*byte == '\n')
            out += '\r';
        out += *byte;
        i += step.length;
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: tunewright-help-text OUTPUT PROJECT.hhp\n";
        return 2;
    }
    try {
        std::string text;
        for (const std::string& page : ProjectPages(argv[2])) {
            const std::string html = ReadFile(page);
            Converter(page, html).Convert(text);
        }
        const std::string bytes = ForTheProgram(text);
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        if (!(out << bytes) || !out.flush())
            throw Fault(std::string(argv[1]) + ": cannot be written");
    } catch (const Fault& fault) {
        std::cerr << "tunewright-help-text: " << fault.what() << '\n';
        return 1;
    }
    return 0;
}
