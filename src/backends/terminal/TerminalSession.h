#pragma once
// The controlling terminal in full-screen mode: raw input, the alternate
// screen, no automatic line wrap. Whatever way the program ends (return,
// exception, exit, SIGINT, SIGTERM, SIGHUP, SIGQUIT, or a crash: SIGSEGV, even
// from a stack overflow, SIGABRT, SIGBUS, SIGFPE, SIGILL) the terminal gets
// its settings, its cursor and its normal screen back; a signal is raised
// again afterwards so that the program still dies of it. A stop (SIGTSTP) gives the terminal back
// too, and the program takes it again when it continues.
#include "backends/terminal/Terminal.h"

namespace backends::terminal {

class TerminalSession final : public ITerminal {
public:
    // Both standard input and standard output are a terminal.
    static bool Available();

    // Throws CException when the terminal cannot be switched.
    TerminalSession();
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    void Size(int& cols, int& rows) const override;
    void Write(std::string_view bytes) override;
    Input Wait(int timeoutMs) override;

private:
    // Puts back the signal and terminate handlers and closes the wake-up pipe.
    void Uninstall();
};

} // namespace backends::terminal
