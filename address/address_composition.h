#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mdCode {

// Ten backslashes: appended to a path so that it can serve as the end delimiter of TextBetween.
inline constexpr std::u16string_view EndMarker = u"\\\\\\\\\\\\\\\\\\\\";

// The part of `path` below the program folder; empty when the path is not inside it.
std::optional<std::u16string> RelativeName(const std::u16string& programFolder,
                                           const std::u16string& path);

// The base address followed by the encoded name.
std::u16string FileAddress(const std::u16string& baseUrl, const std::u16string& name);

// The base address followed by the name as it is.
std::u16string PlainFileAddress(const std::u16string& baseUrl, const std::u16string& name);

// The address box text with `address` added as its last line (CR LF between lines). The text is
// taken by value, so that a caller adding many lines can move it in and pay once for each line.
std::u16string AppendAddress(std::u16string boxText, const std::u16string& address);

} // namespace mdCode
