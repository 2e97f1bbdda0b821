#include "cli/common/interruption.h"

#include <atomic>
#include <unistd.h>

namespace cli {
namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};

// Shared with the handler, which may read and write only lock-free atomics.
std::atomic<int> interruption = 0;
std::atomic<pid_t> childToEnd = 0;
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free);

extern "C" void OnInterruption(int signal) {
    interruption.store(signal);
    if (const pid_t child = childToEnd.load(); child > 0)
        kill(child, SIGTERM);
}

sigset_t InterruptionSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : Signals)
        sigaddset(&signals, signal);
    return signals;
}

} // namespace

void NoteInterruptions() {
    struct sigaction action {};
    action.sa_handler = OnInterruption;
    // System calls go on; the command looks for the interruption between its steps.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : Signals)
        sigaction(signal, &action, nullptr);
}

void ThrowIfInterrupted() {
    if (const int signal = interruption.load(); signal != 0)
        throw Interrupted(signal);
}

void EndAsInterrupted(const Interrupted& interrupted) {
    std::signal(interrupted.Signal(), SIG_DFL);
    std::raise(interrupted.Signal());
    _exit(128 + interrupted.Signal());
}

void EndOnInterruption(pid_t child) {
    childToEnd.store(child);
}

SignalsHeld::SignalsHeld() {
    const sigset_t signals = InterruptionSignals();
    sigprocmask(SIG_BLOCK, &signals, &previous_);
}

SignalsHeld::~SignalsHeld() {
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace cli
