#pragma once

#include <string>
#include <string_view>

namespace deploy {

// The MD5 digest of the bytes in lowercase hexadecimal, as md5sum prints it.
std::string Md5Hex(std::string_view bytes);

} // namespace deploy
