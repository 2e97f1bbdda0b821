#pragma once

#include <string>
#include <string_view>

namespace cli {

// A native path or name as a message shows it: in UTF-8, written as a plain address writes a
// name, so that a byte that is not UTF-8 or a line break shows as "%XX" and no byte is lost.
std::string ShownPath(std::string_view nativePath);

} // namespace cli
