#pragma once

#include <filesystem>
#include <string>

// The program handles paths in one form, with "\" between folders, so that the address rules
// behave alike on every platform. These two functions cross between that form and the system's.
namespace mdCode {

std::u16string ToProgramForm(const std::u16string& nativePath);
std::filesystem::path ToNativePath(const std::u16string& programPath);

} // namespace mdCode
