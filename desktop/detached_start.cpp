#include "desktop/detached_start.h"

#include <QDeadlineTimer>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace desktop {
namespace {

using namespace std::chrono_literals;

// How long a started program may take to read its input before it is given up on.
constexpr auto InputLimit = 3s;

class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

// Null-terminated vectors of C strings pointing into the given byte arrays.
std::vector<char*> CStrings(QList<QByteArray>& strings) {
    std::vector<char*> pointers;
    for (QByteArray& string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

// This program's environment as the bytes it holds, not as text, with the command's changes.
QList<QByteArray> ChildEnvironment(const DetachedCommand& command) {
    QList<QByteArray> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const QByteArray variable(*entry);
        if (!command.environmentChanges.contains(variable.left(variable.indexOf('='))))
            environment.append(variable);
    }
    for (const auto& [name, value] : command.environmentChanges.asKeyValueRange())
        if (value)
            environment.append(name + '=' + *value);
    return environment;
}

std::optional<pid_t> SpawnReadingFrom(const DetachedCommand& command, int input) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    // Descriptors the caller of this program left open must not stay open for as long as the
    // started program lives: whoever waits for the end of a pipe would wait that long.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    // It must hold none of this program's folders.
    posix_spawn_file_actions_addchdir_np(&actions, "/");

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    // No terminal's hang-up or job control reaches it.
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    QList<QByteArray> arguments = command.arguments;
    QList<QByteArray> environment = ChildEnvironment(command);
    pid_t pid = 0;
    const int failure = posix_spawnp(&pid, command.program.constData(), &actions, &attributes,
                                     CStrings(arguments).data(), CStrings(environment).data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        return std::nullopt;
    return pid;
}

bool WriteAll(int socket, const QByteArray& bytes) {
    const QDeadlineTimer deadline(InputLimit);
    // Each attempt waits a little, so that the overall limit is kept.
    const timeval attemptLimit{.tv_sec = 0, .tv_usec = 100'000};
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &attemptLimit, sizeof attemptLimit);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count =
            send(socket, bytes.constData() + written, bytes.size() - written, MSG_NOSIGNAL);
        if (count > 0)
            written += count;
        else if ((count < 0 && errno != EAGAIN && errno != EINTR) || deadline.hasExpired())
            return false;
    }
    return true;
}

} // namespace

bool StartDetached(const DetachedCommand& command) {
    // The input goes through a socket pair: unlike a pipe, it can be written without raising
    // SIGPIPE when the reader ends early, and with a time limit.
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    const FileDescriptor ours(ends[0]);
    std::optional<pid_t> started;
    {
        const FileDescriptor theirs(ends[1]);
        started = SpawnReadingFrom(command, theirs.get());
    }
    if (!started)
        return false;
    if (WriteAll(ours.get(), command.input) && shutdown(ours.get(), SHUT_WR) == 0)
        return true;
    // Part of the input would pass for the whole.
    kill(*started, SIGKILL);
    return false;
}

} // namespace desktop
