#pragma once

#include <string>

namespace deploy {

// Proves that the base address serves the folder, as the program will build a file's address
// from it: a probe "lirvane-check-<random>.txt" with random content is written into the folder,
// fetched through its address with curl, compared byte for byte and removed, also when the
// command is interrupted (Interrupted is thrown then). Says "OK : …", or warns with what the
// fetch gave and the likely cause; false then.
bool AddressServesFolder(const std::u16string& baseAddress, const std::string& folder);

} // namespace deploy
