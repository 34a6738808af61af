#include "backends/terminal/KeyDecoder.h"

#include "platform/Cp1252.h"

#include <algorithm>
#include <array>

namespace backends::terminal {

namespace {

constexpr char kEsc = '\x1b';
// No key has a longer parameter part than this; a longer one is noise, which
// is skipped to its end without being kept.
constexpr std::size_t kMaxParameterBytes = 32;

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

bool IsParameterByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b <= 0x3F;
}

// What the key at the front of the bytes took; `used` 0 means: wait for more.
struct Step {
    std::optional<Key> key;
    std::size_t used = 0;
    bool tooLong = false; // a sequence longer than any key: skip to its end
};

// An incomplete key: wait for the rest, or, once the wait is over, drop it.
Step Incomplete(std::string_view rest, bool final)
{
    return {std::nullopt, final ? rest.size() : 0};
}

// The first two numbers of a parameter part, which is all any key carries.
// A number stops growing at the cap, far above any a key uses, so that a
// long run of digits can never wrap around into a real key. Digits after ':'
// belong to a sub-parameter, which no key here needs.
struct Numbers {
    static constexpr int kCap = 1 << 16;
    std::array<int, 2> values{};
    std::size_t count = 1;
    bool tooLarge = false;
};

Numbers ParseNumbers(std::string_view text)
{
    Numbers n;
    bool sub = false;
    for (char c : text) {
        if (c == ';') {
            ++n.count;
            sub = false;
        } else if (c == ':') {
            sub = true;
        } else if (c >= '0' && c <= '9' && !sub && n.count <= n.values.size()) {
            int& v = n.values[n.count - 1];
            v = std::min(v * 10 + (c - '0'), Numbers::kCap);
            n.tooLarge = n.tooLarge || v == Numbers::kCap;
        }
    }
    return n;
}

// A key that needs no escape sequence: control character or UTF-8 text.
Step Plain(std::string_view bytes, bool final)
{
    const auto b = static_cast<unsigned char>(bytes[0]);
    switch (b) {
    case '\r': case '\n': return {Make(KeyCode::Enter), 1};
    case '\t': return {Make(KeyCode::Tab), 1};
    case 0x7F: case 0x08: return {Make(KeyCode::Backspace), 1};
    default: break;
    }
    if (b >= 0x01 && b <= 0x1A) {
        Key k;
        k.ch = U'a' + (b - 1);
        k.ctrl = true;
        return {k, 1};
    }
    if (b < 0x20)
        return {std::nullopt, 1}; // Ctrl+Space and the rarer control keys mean nothing here
    const platform::Utf8Step step = platform::DecodeUtf8(bytes);
    if (step.kind == platform::Utf8Step::Kind::Incomplete)
        return Incomplete(bytes, final);
    if (step.kind == platform::Utf8Step::Kind::Invalid)
        return {std::nullopt, step.length};
    Key k;
    k.ch = step.ch;
    return {k, step.length};
}

// ESC [ ...: cursor, editing and function keys.
Step ControlSequence(std::string_view rest, bool final)
{
    // Linux console function keys: ESC [ [ A .. E.
    if (rest.size() >= 3 && rest[2] == '[') {
        if (rest.size() < 4)
            return Incomplete(rest, final);
        if (rest[3] >= 'A' && rest[3] <= 'E')
            return {Function(rest[3] - 'A' + 1), 4};
        return {std::nullopt, 4};
    }
    std::size_t i = 2;
    while (i < rest.size() && IsParameterByte(rest[i])) {
        if (i - 2 == kMaxParameterBytes)
            return {std::nullopt, i, true};
        ++i;
    }
    if (i == rest.size())
        return Incomplete(rest, final);
    const char last = rest[i];
    const Numbers numbers = ParseNumbers(rest.substr(2, i - 2));
    if (numbers.tooLarge)
        return {std::nullopt, i + 1};
    std::optional<Key> key;
    if (last == '~')
        key = TildeKey(numbers.values[0]);
    else if (last == 'Z') {
        key = Make(KeyCode::Tab);
        key->shift = true;
    } else
        key = LetterKey(last);
    if (key && numbers.count > 1)
        ApplyModifier(*key, numbers.values[1]);
    return {key, i + 1};
}

// ESC O x: the cursor and F1-F4 keys in application mode.
Step SingleShift(std::string_view rest, bool final)
{
    if (rest.size() < 3)
        return Incomplete(rest, final);
    return {LetterKey(rest[2]), 3};
}

Step EscapeKey(std::string_view rest, bool final)
{
    if (rest.size() == 1)
        return final ? Step{Make(KeyCode::Escape), 1} : Step{};
    const char second = rest[1];
    if (second == '[')
        return ControlSequence(rest, final);
    if (second == 'O')
        return SingleShift(rest, final);
    // Alt with a key: ESC before a character or before a whole sequence. An
    // ESC before anything else, another ESC included, is the Escape key: so
    // each ESC of a burst is decided by the two bytes after it.
    Step inner;
    if (second == kEsc) {
        if (rest.size() == 2 && !final)
            return {};
        if (rest.size() == 2 || (rest[2] != '[' && rest[2] != 'O'))
            return {Make(KeyCode::Escape), 1};
        inner = rest[2] == '[' ? ControlSequence(rest.substr(1), final) : SingleShift(rest.substr(1), final);
    } else {
        inner = Plain(rest.substr(1), final);
    }
    if (inner.used == 0)
        return {};
    if (inner.key)
        inner.key->alt = true;
    ++inner.used;
    return inner;
}

} // namespace

void KeyDecoder::Feed(std::string_view bytes)
{
    buffer_.erase(0, read_);
    read_ = 0;
    buffer_ += bytes;
}

bool KeyDecoder::SkipLongSequence()
{
    while (read_ < buffer_.size() && IsParameterByte(buffer_[read_]))
        ++read_;
    if (read_ == buffer_.size() && !flushing_)
        return false;
    if (read_ < buffer_.size())
        ++read_; // its final byte
    skipping_ = false;
    return true;
}

std::optional<Key> KeyDecoder::Next()
{
    while (true) {
        if (skipping_ && !SkipLongSequence())
            return std::nullopt;
        const std::string_view rest = std::string_view(buffer_).substr(read_);
        if (rest.empty()) {
            flushing_ = false;
            return std::nullopt;
        }
        Step step = rest[0] == kEsc ? EscapeKey(rest, flushing_) : Plain(rest, flushing_);
        if (step.used == 0)
            return std::nullopt;
        read_ += step.used;
        skipping_ = step.tooLong;
        if (read_ == buffer_.size() && !skipping_)
            flushing_ = false;
        if (step.key)
            return step.key;
    }
}

void KeyDecoder::Flush()
{
    flushing_ = HasPartial();
}

} // namespace backends::terminal
