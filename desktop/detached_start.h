#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <optional>

namespace desktop {

// A program to start so that it outlives this one, with the input it reads on its standard
// input: nothing it is handed ever appears on a command line or in a file.
struct DetachedCommand {
    // A path, or a name looked up in PATH.
    QByteArray program;
    // The argument vector, its first element the name the process is shown under.
    QList<QByteArray> arguments;
    // Where its environment differs from this program's, which it otherwise inherits byte for
    // byte: a value sets the variable, none removes it.
    QMap<QByteArray, std::optional<QByteArray>> environmentChanges = {};
    QByteArray input;
};

// Starts the command in a session of its own, in the root folder, with its output discarded and
// no other descriptor of this program, and writes the input to it. False when it could not be
// started or did not take the whole input within a few seconds.
bool StartDetached(const DetachedCommand& command);

} // namespace desktop
