#pragma once

#include <string>

namespace address {

// Shows a desktop notification through the session bus's notification service: a summary line
// and a body, both plain text. Without a session bus or a service, nothing is shown and nothing
// fails.
void ShowNotification(const std::string& summary, const std::string& body);

} // namespace address
