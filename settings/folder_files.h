#pragma once

#include <string_view>

// The two files of a folder where Lirvane is deployed.
namespace mdCode {

// The program, as lirvane-deploy names it in a web folder.
inline constexpr char ProgramFileName[] = "lirvane";
// The settings file, beside it: it holds the base address.
inline constexpr char SettingsFileName[] = "PARAM.ini";

} // namespace mdCode
