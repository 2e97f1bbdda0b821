// Times the start-up of the program and of its minimal peer, to the first paint of their window,
// in one program folder holding a given number of files. The two run alternately, as separate
// processes on the display that DISPLAY names; the medians and their ratio are printed.
//
//   lirvane_start_up_bench PROGRAM PEER FILE_COUNT RUNS
//
// PROGRAM and PEER must be the builds that report their first paint (lirvane_first_paint,
// lirvane_minimal_peer).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock; // CLOCK_MONOTONIC, the clock the probe prints

constexpr int StartUpTimeoutMs = 60'000;

// A program folder: both executables, a settings file and filler files, removed at the end.
class ProgramFolder final {
public:
    ProgramFolder(const fs::path& program, const fs::path& peer, int fileCount) {
        std::string pattern = (fs::temp_directory_path() / "lirvane-start-up-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        path_ = pattern;
        fs::copy_file(program, Program());
        fs::copy_file(peer, Peer());
        std::ofstream(path_ / "PARAM.ini", std::ios::binary) << "http://example.org/tmp/\r\n";
        for (int i = 3; i < fileCount; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "fichier %06d.txt", i);
            std::ofstream(path_ / name);
        }
    }
    ~ProgramFolder() { fs::remove_all(path_); }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    fs::path Program() const { return path_ / "lirvane"; }
    fs::path Peer() const { return path_ / "minimal_peer"; }

private:
    fs::path path_;
};

// Starts the executable and waits for the monotonic time it prints at its first paint.
double MillisecondsToFirstPaint(const fs::path& executable) {
    int output[2];
    if (pipe(output) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    const std::string path = executable.string();
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t child = 0;
    const auto spawned = Clock::now();
    const int failed = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (failed != 0)
        throw std::runtime_error("cannot start " + path);

    std::string printed;
    pollfd readable{output[0], POLLIN, 0};
    char buffer[64];
    while (poll(&readable, 1, StartUpTimeoutMs) > 0) {
        const ssize_t got = read(output[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        printed.append(buffer, static_cast<size_t>(got));
    }
    close(output[0]);
    kill(child, SIGKILL); // a no-op once the process has ended by itself
    waitpid(child, nullptr, 0);
    if (printed.empty())
        throw std::runtime_error(path + " reported no first paint");
    const Clock::time_point painted{std::chrono::nanoseconds(std::stoll(printed))};
    return std::chrono::duration<double, std::milli>(painted - spawned).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv) try {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s PROGRAM PEER FILE_COUNT RUNS\n", argv[0]);
        return 2;
    }
    const int fileCount = std::stoi(argv[3]);
    const int runs = std::stoi(argv[4]);
    const ProgramFolder folder(argv[1], argv[2], fileCount);

    // One run each first, so that both find the libraries and the folder in the page cache.
    MillisecondsToFirstPaint(folder.Program());
    MillisecondsToFirstPaint(folder.Peer());
    std::vector<double> program, peer;
    for (int run = 0; run < runs; ++run) {
        // Alternating which goes first evens out a load that changes during the runs.
        if (run % 2 == 0) {
            program.push_back(MillisecondsToFirstPaint(folder.Program()));
            peer.push_back(MillisecondsToFirstPaint(folder.Peer()));
        } else {
            peer.push_back(MillisecondsToFirstPaint(folder.Peer()));
            program.push_back(MillisecondsToFirstPaint(folder.Program()));
        }
    }
    const double ours = Median(program);
    const double theirs = Median(peer);
    std::printf("start-up to first paint, %d files, median of %d runs: lirvane %.1f ms, minimal "
                "peer %.1f ms, ratio %.2f\n",
                fileCount, runs, ours, theirs, ours / theirs);
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
}
