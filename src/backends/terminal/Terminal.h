#pragma once
// What the terminal backend needs of a terminal: its size, a way to write to
// it, and its input with a time limit. TerminalSession is the real one; tests
// put a fake in its place.
#include <string>
#include <string_view>

namespace backends::terminal {

class ITerminal {
public:
    virtual ~ITerminal() = default;

    virtual void Size(int& cols, int& rows) const = 0;
    virtual void Write(std::string_view bytes) = 0;

    struct Input {
        std::string bytes;
        bool resized = false; // the window changed size since the last call
        bool closed = false;  // the terminal went away
    };
    // Waits up to `timeoutMs` for keys or a change of size.
    virtual Input Wait(int timeoutMs) = 0;
};

} // namespace backends::terminal
