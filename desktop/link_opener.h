#pragma once

#include <string>

namespace desktop {

// Hands a web address to the desktop's default browser. Failures are not reported.
void ShellOpen(const std::u16string& address);

} // namespace desktop
