#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

// How a child process ended and what it wrote. `exitCode` is none when a signal ended it.
struct ChildOutcome {
    std::optional<int> exitCode;
    std::string output;
    std::string errors;
};

// Runs the program, found in PATH, with the arguments (the first one is its name) and this
// environment; no shell. An interruption of this command ends it too. Throws FileError naming
// the program when it cannot be started, Interrupted when an interruption came before.
ChildOutcome RunCapturingOutput(const std::vector<std::string>& arguments);

// The same, its output going where this command's goes.
std::optional<int> Run(const std::vector<std::string>& arguments);

} // namespace cli
