#pragma once

#include <stdexcept>

namespace deploy {

// Why the deployment cannot go on. Thrown before anything is changed, or after what was changed
// has been undone: the command then says why and exits with 1.
class Refusal final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace deploy
