#pragma once

#include <csignal>
#include <string>
#include <sys/types.h>

// SIGINT, SIGTERM and SIGHUP end the deployment as they end a shell script, with the exit code
// 128 + the signal (130, 143, 129), after removing the files it was making and ending the child
// process it waits for: an interrupted deployment leaves no probe and no half-written file.
namespace deploy {

void EndCleanlyOnInterruption();

// Holds back the three signals while it lives, so that a file and the record of it change
// together: a signal arrives before the file is made, or after it is recorded.
class SignalsHeld final {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_{};
};

// These three are called while the signals are held.
void RemoveOnInterruption(const std::string& path);
void KeepOnInterruption(const std::string& path);
// 0: no child process.
void EndOnInterruption(pid_t child);

} // namespace deploy
