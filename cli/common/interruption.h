#pragma once

#include <csignal>
#include <exception>
#include <sys/types.h>

// SIGINT, SIGTERM and SIGHUP are noted when they come, not acted on then: the command looks for
// them between its steps and unwinds, so that its own code undoes what it had begun (a hidden
// file removed, a change taken back) or, past the point where its changes are made together,
// completes them. Only the child process it waits for is ended at once.
namespace cli {

// Installs the handlers; once, at the start of a command.
void NoteInterruptions();

// An interruption, thrown at the first step after it came.
class Interrupted final : public std::exception {
public:
    explicit Interrupted(int signal) : signal_(signal) {}
    const char* what() const noexcept override { return "interrompu"; }
    int Signal() const { return signal_; }

private:
    int signal_;
};

// Throws Interrupted when an interruption has come.
void ThrowIfInterrupted();

// Ends the command as the signal would have, once it has said what it did: the shell that ran
// it then sees it was interrupted (exit status 128 + the signal).
[[noreturn]] void EndAsInterrupted(const Interrupted& interruption);

// The child process that an interruption ends while the command waits for it; 0 for none.
void EndOnInterruption(pid_t child);

// Holds the three signals back while it lives, so that a child process is started and recorded
// together: a signal comes before it is started, or once the handler can end it.
class SignalsHeld final {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_{};
};

} // namespace cli
