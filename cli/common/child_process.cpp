#include "cli/common/child_process.h"

#include "cli/common/interruption.h"
#include "files/file_error.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace cli {
namespace {

// More than any answer the check expects; the rest is read and dropped.
constexpr std::size_t LargestKeptOutput = 1 << 20;

struct Pipe {
    int read = -1;
    int write = -1;
};

// Throws FileError naming the program that the pipe is for.
Pipe OpenPipe(const std::string& program) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw mdCode::FileError(program, errno);
    }
    return {ends[0], ends[1]};
}

// Started with signals held, so that an interruption that comes once it is started ends it; the
// child itself starts with none held. None is started once an interruption has come.
pid_t Start(const std::vector<std::string>& arguments, const Pipe* output, const Pipe* errors) {
    ThrowIfInterrupted();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output != nullptr) {
        posix_spawn_file_actions_adddup2(&actions, output->write, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errors->write, STDERR_FILENO);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const SignalsHeld held;
    const int error = posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw mdCode::FileError(arguments[0], error);
    }
    EndOnInterruption(child);
    return child;
}

// Waits for the child without reaping it first, so that an interruption never ends a process
// that merely took its number.
std::optional<int> WaitFor(pid_t child) {
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT) != 0 &&
           errno == EINTR) {
    }
    const SignalsHeld held;
    EndOnInterruption(0);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return std::nullopt;
}

// Reads both pipes until the child has closed them.
void ReadAll(int outputEnd, int errorsEnd, std::string& output, std::string& errors) {
    std::array<pollfd, 2> ends = {pollfd{outputEnd, POLLIN, 0}, pollfd{errorsEnd, POLLIN, 0}};
    std::array<std::string*, 2> kept = {&output, &errors};
    char buffer[4096];
    while (ends[0].fd >= 0 || ends[1].fd >= 0) {
        if (poll(ends.data(), ends.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (std::size_t i = 0; i < ends.size(); ++i) {
            if (ends[i].fd < 0 || ends[i].revents == 0) {
                continue;
            }
            const ssize_t count = read(ends[i].fd, buffer, sizeof buffer);
            if (count > 0 && kept[i]->size() < LargestKeptOutput) {
                kept[i]->append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || (count < 0 && errno != EINTR)) {
                close(ends[i].fd);
                ends[i].fd = -1;
            }
        }
    }
}

} // namespace

ChildOutcome RunCapturingOutput(const std::vector<std::string>& arguments) {
    const Pipe output = OpenPipe(arguments[0]);
    const Pipe errors = OpenPipe(arguments[0]);
    pid_t child = 0;
    try {
        child = Start(arguments, &output, &errors);
    } catch (...) {
        for (const int end : {output.read, output.write, errors.read, errors.write}) {
            close(end);
        }
        throw;
    }
    close(output.write);
    close(errors.write);
    ChildOutcome outcome;
    ReadAll(output.read, errors.read, outcome.output, outcome.errors);
    outcome.exitCode = WaitFor(child);
    return outcome;
}

std::optional<int> Run(const std::vector<std::string>& arguments) {
    return WaitFor(Start(arguments, nullptr, nullptr));
}

} // namespace cli
