#pragma once
// Turns the bytes a terminal sends into keys: plain characters (UTF-8),
// control characters, and the escape sequences of xterm, tmux/screen and the
// Linux console for cursor, editing and function keys, with their modifiers.
#include <optional>
#include <string>
#include <string_view>

namespace backends::terminal {

enum class KeyCode {
    Char, // `ch` holds the character; with `ctrl` a Ctrl+letter (ch lower case)
    Enter,
    Tab,
    Backspace,
    Escape,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Insert,
    Delete,
    Function, // `function` holds 1 to 12
};

struct Key {
    KeyCode code = KeyCode::Char;
    char32_t ch = 0;
    int function = 0;
    bool shift = false;
    bool alt = false;
    bool ctrl = false;

    bool operator==(const Key&) const = default;
};

class KeyDecoder {
public:
    void Feed(std::string_view bytes);

    // The next complete key, if the buffer holds one. Unknown sequences are
    // swallowed whole. Each key costs time in proportion to its own bytes, so
    // a burst of any length (a paste, a stuck key, line noise) is decoded in
    // linear time.
    std::optional<Key> Next();

    // Something waits for more bytes: an Escape that may start a sequence, or
    // part of a UTF-8 character.
    bool HasPartial() const { return read_ < buffer_.size() || skipping_; }

    // No more bytes came in time: a waiting Escape is the Escape key (or Alt
    // with what follows); a broken UTF-8 character is dropped.
    void Flush();

private:
    // Drops the rest of a sequence too long for any key; false while its
    // end has not come yet.
    bool SkipLongSequence();

    std::string buffer_;
    std::size_t read_ = 0; // bytes of buffer_ already decoded
    bool flushing_ = false;
    bool skipping_ = false;
};

} // namespace backends::terminal
