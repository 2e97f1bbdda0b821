#pragma once

// How lirvane-address ends; the manual page lists the same codes.
namespace cli {

enum ExitStatus : int {
    EveryFileAddressed = 0,
    SomeFilesFailed = 1,
    WrongUsage = 2,
    CopyLost = 3,
};

} // namespace cli
