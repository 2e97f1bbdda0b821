#include "settings/program_path.h"

#include <algorithm>

namespace mdCode {

// "/" is a folder separator on every platform the program runs on, so it always becomes "\".
std::u16string ToProgramForm(const std::u16string& nativePath) {
    std::u16string programPath = nativePath;
    std::ranges::replace(programPath, u'/', u'\\');
    return programPath;
}

std::filesystem::path ToNativePath(const std::u16string& programPath) {
    std::u16string genericPath = programPath;
    std::ranges::replace(genericPath, u'\\', u'/');
    return std::filesystem::path(genericPath).make_preferred();
}

} // namespace mdCode
