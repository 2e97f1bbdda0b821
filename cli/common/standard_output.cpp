#include "cli/common/standard_output.h"

#include "files/file_error.h"

#include <cerrno>
#include <cstdio>

namespace cli {

std::optional<std::string> StandardOutputFailure() {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return std::nullopt;
    // A write that failed earlier, while the output was buffered, left no errno behind.
    return "écriture impossible sur la sortie standard (" +
           mdCode::FrenchReason(errno != 0 ? errno : EIO) + ")";
}

} // namespace cli
