#pragma once

#include <optional>
#include <string>

// The running program as the windows see it. Paths are in the program's form ("\" separators).
namespace forms::App {

// The real folder of the running executable (links resolved), read afresh at every call.
std::u16string Path();

// The arguments after the program's name, joined by one blank, then read as one path made
// absolute from the current folder and resolved as resolved_path.h says for the program folder;
// "" when there are none.
std::u16string Command();

int Major();
int Minor();
int Revision();

// Lets tests run the windows in a folder of their own with a command line of their own;
// std::nullopt returns to the real executable's folder and arguments.
struct Setting {
    std::u16string path;
    std::u16string command;
};
void Override(std::optional<Setting> setting);

} // namespace forms::App
