#include "cli/deploy_interruption.h"

#include <array>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace deploy {
namespace {

// Fixed storage, so that the handler reads no memory that is being allocated or freed. A
// deployment makes at most two files at a time: its executable and a launcher file or a probe.
std::array<std::array<char, PATH_MAX>, 4> removedPaths{};
volatile pid_t childToEnd = 0;

extern "C" void OnInterruption(int signal) {
    if (childToEnd > 0) {
        kill(childToEnd, SIGTERM);
    }
    for (const auto& path : removedPaths) {
        if (path[0] != '\0') {
            unlink(path.data());
        }
    }
    _exit(128 + signal);
}

sigset_t InterruptionSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&signals, signal);
    }
    return signals;
}

} // namespace

void EndCleanlyOnInterruption() {
    struct sigaction action {};
    action.sa_handler = OnInterruption;
    action.sa_mask = InterruptionSignals();
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

SignalsHeld::SignalsHeld() {
    const sigset_t signals = InterruptionSignals();
    sigprocmask(SIG_BLOCK, &signals, &previous_);
}

SignalsHeld::~SignalsHeld() {
    sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

void RemoveOnInterruption(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        throw std::length_error("« " + path + " » : le nom est trop long");
    }
    for (auto& slot : removedPaths) {
        if (slot[0] == '\0') {
            std::memcpy(slot.data(), path.c_str(), path.size() + 1);
            return;
        }
    }
    throw std::logic_error("plus de fichiers en cours d'écriture que de places pour les noter");
}

void KeepOnInterruption(const std::string& path) {
    for (auto& slot : removedPaths) {
        if (path == slot.data()) {
            slot[0] = '\0';
        }
    }
}

void EndOnInterruption(pid_t child) {
    childToEnd = child;
}

} // namespace deploy
