#pragma once

namespace forms {

// Handles the window events that are waiting, then returns.
void DoEvents();

} // namespace forms
