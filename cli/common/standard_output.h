#pragma once

#include <optional>
#include <string>

namespace cli {

// Sends what the command printed on, and says why it did not all reach standard output (a full
// disk, a closed pipe), in French; none when it did. A command that prints what it was asked
// for fails when it could not.
std::optional<std::string> StandardOutputFailure();

} // namespace cli
