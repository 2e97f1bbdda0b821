#pragma once

#include <string_view>

namespace mdCode {

// The settings file, in the program folder: it holds the base address.
inline constexpr std::u16string_view SettingsFileName = u"PARAM.ini";

} // namespace mdCode
