#include "settings/settings_file.h"

#include "paths/normal_file.h"
#include "paths/program_path.h"

namespace mdCode {

bool FileExists(const std::u16string& path) {
    if (path.empty() || path.back() == u'\\') {
        return false;
    }
    try {
        return IsNormalFile(ToNativePath(path));
    } catch (...) {
        return false;
    }
}

} // namespace mdCode
