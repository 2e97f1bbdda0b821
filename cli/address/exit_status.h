#pragma once

// How lirvane-address ends; the manual page lists the same codes. Where several apply, the
// lowest non-zero one is the exit status.
namespace address {

enum ExitStatus : int {
    EveryFileAddressed = 0,
    SomeFilesFailed = 1,
    WrongUsage = 2,
    CopyLost = 3,
    // Every file has its line, but the web server will not serve one of them.
    ServerWarned = 4,
};

} // namespace address
