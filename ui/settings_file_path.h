#pragma once

#include <string>

// "PARAM.ini" in the program folder, which holds the base address.
std::u16string SettingsFilePath();
