#pragma once

#include <string>

namespace deploy {

// The desktop entry that runs FOLDER/lirvane on the chosen file, for a folder (a native path in
// UTF-8, without control characters).
std::string DesktopEntry(const std::string& folder);

} // namespace deploy
