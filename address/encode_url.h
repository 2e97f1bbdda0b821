#pragma once

#include <string>

namespace mdCode {

// Percent-encodes the characters whose code-page code is reserved in a web address
// (space, "\", "%", "#", ...); every other character passes unchanged.
std::u16string EncodeUrl(const std::u16string& name);

} // namespace mdCode
