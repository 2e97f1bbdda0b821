#include "forms/mounted_location.h"

// GIO alone: its headers name a field "signals", which Qt's headers define as a macro.
#include <gio/gio.h>

#include <memory>

namespace forms {

std::optional<std::string> MountedPath(const std::string& uri) {
    const std::unique_ptr<GFile, decltype(&g_object_unref)> location(
        g_file_new_for_uri(uri.c_str()), g_object_unref);
    const std::unique_ptr<char, decltype(&g_free)> path(g_file_get_path(location.get()), g_free);
    if (!path)
        return std::nullopt;
    return std::string(path.get());
}

} // namespace forms
