#include "toolkit/terminal/KeyDecoder.h"

#include "toolkit/terminal/Cp1252.h"

#include <vector>

namespace tk {

namespace {

constexpr char kEsc = '\x1b';

Key Make(KeyCode code)
{
    Key k;
    k.code = code;
    return k;
}

Key Function(int n)
{
    Key k = Make(KeyCode::Function);
    k.function = n;
    return k;
}

// xterm's modifier parameter: 1 + (1 shift, 2 alt, 4 ctrl).
void ApplyModifier(Key& key, int modifier)
{
    if (modifier < 2)
        return;
    const int bits = modifier - 1;
    key.shift = key.shift || (bits & 1) != 0;
    key.alt = key.alt || (bits & 2) != 0;
    key.ctrl = key.ctrl || (bits & 4) != 0;
}

std::optional<Key> TildeKey(int code)
{
    switch (code) {
    case 1: case 7: return Make(KeyCode::Home);
    case 2: return Make(KeyCode::Insert);
    case 3: return Make(KeyCode::Delete);
    case 4: case 8: return Make(KeyCode::End);
    case 5: return Make(KeyCode::PageUp);
    case 6: return Make(KeyCode::PageDown);
    case 11: case 12: case 13: case 14: case 15: return Function(code - 10);
    case 17: case 18: case 19: case 20: case 21: return Function(code - 11);
    case 23: case 24: return Function(code - 12);
    default: return std::nullopt;
    }
}

// The key of a final letter after CSI or SS3.
std::optional<Key> LetterKey(char final)
{
    switch (final) {
    case 'A': return Make(KeyCode::Up);
    case 'B': return Make(KeyCode::Down);
    case 'C': return Make(KeyCode::Right);
    case 'D': return Make(KeyCode::Left);
    case 'H': return Make(KeyCode::Home);
    case 'F': return Make(KeyCode::End);
    case 'M': return Make(KeyCode::Enter); // keypad Enter in application mode
    case 'P': return Function(1);
    case 'Q': return Function(2);
    case 'R': return Function(3);
    case 'S': return Function(4);
    default: return std::nullopt;
    }
}

std::vector<int> Parameters(std::string_view text)
{
    std::vector<int> out{0};
    for (char c : text) {
        if (c >= '0' && c <= '9')
            out.back() = out.back() * 10 + (c - '0');
        else if (c == ';')
            out.push_back(0);
    }
    return out;
}

// A key that needs no escape sequence: control character or UTF-8 text.
// Returns nothing with `used` 0 while a character is incomplete.
std::optional<Key> PlainKey(std::string_view bytes, std::size_t& used, bool final)
{
    const auto b = static_cast<unsigned char>(bytes[0]);
    used = 1;
    switch (b) {
    case '\r': case '\n': return Make(KeyCode::Enter);
    case '\t': return Make(KeyCode::Tab);
    case 0x7F: case 0x08: return Make(KeyCode::Backspace);
    default: break;
    }
    if (b >= 0x01 && b <= 0x1A) {
        Key k;
        k.ch = U'a' + (b - 1);
        k.ctrl = true;
        return k;
    }
    if (b < 0x20)
        return std::nullopt; // Ctrl+Space and the rarer control keys mean nothing here
    const Utf8Step step = DecodeUtf8(bytes);
    if (step.kind == Utf8Step::Kind::Incomplete) {
        used = final ? bytes.size() : 0;
        return std::nullopt;
    }
    used = step.length;
    if (step.kind == Utf8Step::Kind::Invalid)
        return std::nullopt;
    Key k;
    k.ch = step.ch;
    return k;
}

} // namespace

std::optional<Key> KeyDecoder::DecodeEscape(std::size_t& used, bool final) const
{
    const std::string_view b = buffer_;
    used = 0;
    if (b.size() == 1) {
        if (final)
            used = 1;
        return final ? std::optional<Key>(Make(KeyCode::Escape)) : std::nullopt;
    }
    const char second = b[1];
    if (second == '[') {
        // Linux console function keys: ESC [ [ A .. E.
        if (b.size() >= 3 && b[2] == '[') {
            if (b.size() < 4) {
                used = final ? b.size() : 0;
                return std::nullopt;
            }
            used = 4;
            if (b[3] >= 'A' && b[3] <= 'E')
                return Function(b[3] - 'A' + 1);
            return std::nullopt;
        }
        std::size_t i = 2;
        while (i < b.size() && static_cast<unsigned char>(b[i]) >= 0x20 && static_cast<unsigned char>(b[i]) <= 0x3F)
            ++i;
        if (i >= b.size()) {
            used = final ? b.size() : 0;
            return std::nullopt;
        }
        used = i + 1;
        const char last = b[i];
        const std::vector<int> params = Parameters(b.substr(2, i - 2));
        std::optional<Key> key;
        if (last == '~')
            key = TildeKey(params[0]);
        else if (last == 'Z') {
            key = Make(KeyCode::Tab);
            key->shift = true;
        } else
            key = LetterKey(last);
        if (key && params.size() > 1)
            ApplyModifier(*key, params[1]);
        return key;
    }
    if (second == 'O') {
        if (b.size() < 3) {
            used = final ? b.size() : 0;
            return std::nullopt;
        }
        used = 3;
        return LetterKey(b[2]);
    }
    // Alt with a key: ESC before a character or before a whole sequence.
    KeyDecoder inner;
    inner.buffer_ = std::string(b.substr(1));
    std::size_t innerUsed = 0;
    std::optional<Key> key;
    if (second == kEsc) {
        key = inner.DecodeEscape(innerUsed, final);
    } else {
        key = PlainKey(inner.buffer_, innerUsed, final);
    }
    if (innerUsed == 0)
        return std::nullopt; // wait for the rest
    if (key && key->code == KeyCode::Escape && !key->alt) {
        used = 1; // Escape pressed twice: two Escapes, not Alt+Escape
        return key;
    }
    used = innerUsed + 1;
    if (key)
        key->alt = true;
    return key;
}

std::optional<Key> KeyDecoder::Next()
{
    while (!buffer_.empty()) {
        std::size_t used = 0;
        std::optional<Key> key;
        if (buffer_[0] == kEsc)
            key = DecodeEscape(used, flushing_);
        else
            key = PlainKey(buffer_, used, flushing_);
        if (used == 0)
            return std::nullopt;
        buffer_.erase(0, used);
        if (buffer_.empty())
            flushing_ = false;
        if (key)
            return key;
    }
    flushing_ = false;
    return std::nullopt;
}

void KeyDecoder::Flush()
{
    flushing_ = !buffer_.empty();
}

} // namespace tk
