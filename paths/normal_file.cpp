#include "paths/normal_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace mdCode {
namespace {

bool IsHidden(const char* name) {
    return name[0] == '.';
}

// Follows a link to what it names.
bool IsRegularFile(int folder, const char* path) {
    struct stat status {};
    return fstatat(folder, path, &status, 0) == 0 && S_ISREG(status.st_mode);
}

} // namespace

bool IsNormalFileEntry(int folder, const char* name, unsigned char type) {
    if (IsHidden(name))
        return false;
    if (type == DT_REG)
        return true;
    return (type == DT_LNK || type == DT_UNKNOWN) && IsRegularFile(folder, name);
}

bool IsNormalFile(const std::filesystem::path& file) {
    return !IsHidden(file.filename().c_str()) && IsRegularFile(AT_FDCWD, file.c_str());
}

} // namespace mdCode
