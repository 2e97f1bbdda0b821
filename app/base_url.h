#pragma once

#include <string>

// The base address read from the settings file at every normal load of the main window;
// every address the main window builds starts with it.
extern std::u16string BaseUrl;
