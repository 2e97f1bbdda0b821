#pragma once

// How lirvane-address ends; the manual page lists the same codes. Where several apply, the
// lowest non-zero one is the exit status.
namespace address {

enum ExitStatus : int {
    EveryFileAddressed = 0,
    SomeFilesFailed = 1,
    WrongUsage = 2,
    CopyLost = 3,
};

} // namespace address
