#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mdCode {

// Ten backslashes: a run of them in a path ends the name that RelativeName gives.
inline constexpr std::u16string_view EndMarker = u"\\\\\\\\\\\\\\\\\\\\";

// The part of `path` below the program folder; empty when the path is not inside it. Both are in
// the program's form; the path is inside only when it begins with the folder's components,
// compared exactly.
std::optional<std::u16string> RelativeName(const std::u16string& programFolder,
                                           const std::u16string& path);

// The base address followed by the name's folder parts, each encoded, with "/" between them.
std::u16string FileAddress(const std::u16string& baseUrl, const std::u16string& name);

// The base address followed by the name as it is, but for what a text cannot show of a native
// name: "/" between its folder parts, a "\" inside a name as "\", and an escaped byte, an
// invisible or a line-breaking character as "%XX".
std::u16string PlainFileAddress(const std::u16string& baseUrl, const std::u16string& name);

// How a name below the program folder becomes an address: FileAddress or PlainFileAddress.
using AddressRule = std::u16string (*)(const std::u16string& baseUrl, const std::u16string& name);

// The address that a drop of the file at `path` adds: the rule applied to its name below the
// program folder; none when the path is not below it. Both paths are in the program's form.
std::optional<std::u16string> DroppedFileAddress(const std::u16string& programFolder,
                                                 const std::u16string& baseUrl,
                                                 const std::u16string& path, AddressRule rule);

// What goes between the address box's text and an address added as its last line: nothing when
// the box is empty (its text is ""), a CR LF otherwise.
std::u16string_view LineBreakBefore(bool boxIsEmpty);

// The address box text with `address` added as its last line (see LineBreakBefore). The text is
// taken by value, so that a caller adding many lines can move it in and pay once for each line.
std::u16string AppendAddress(std::u16string boxText, const std::u16string& address);

} // namespace mdCode
