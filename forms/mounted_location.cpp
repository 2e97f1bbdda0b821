#include "forms/mounted_location.h"

// GIO alone: its headers name a field "signals", which Qt's headers define as a macro.
#include <gio/gio.h>

#include <dlfcn.h>
#include <memory>

namespace forms {
namespace {

struct Gio {
    decltype(&g_file_new_for_uri) newForUri;
    decltype(&g_file_get_path) getPath;
    decltype(&g_object_unref) unref;
    decltype(&g_free) free;
};

template <typename Function> Function Symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

// GIO is loaded at the first URL that needs it: linked, it would cost every start-up the loading
// and registering of its types, for drops from remote locations that few users make.
const Gio* LoadedGio() {
    static const std::optional<Gio> gio = []() -> std::optional<Gio> {
        void* library = dlopen("libgio-2.0.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (library == nullptr)
            return std::nullopt;
        const Gio loaded{Symbol<decltype(&g_file_new_for_uri)>(library, "g_file_new_for_uri"),
                         Symbol<decltype(&g_file_get_path)>(library, "g_file_get_path"),
                         Symbol<decltype(&g_object_unref)>(library, "g_object_unref"),
                         Symbol<decltype(&g_free)>(library, "g_free")};
        if (!loaded.newForUri || !loaded.getPath || !loaded.unref || !loaded.free)
            return std::nullopt;
        return loaded;
    }();
    return gio ? &*gio : nullptr;
}

} // namespace

std::optional<std::string> MountedPath(const std::string& uri) {
    const Gio* gio = LoadedGio();
    if (gio == nullptr)
        return std::nullopt;
    const std::unique_ptr<GFile, decltype(gio->unref)> location(gio->newForUri(uri.c_str()),
                                                                gio->unref);
    const std::unique_ptr<char, decltype(gio->free)> path(gio->getPath(location.get()), gio->free);
    if (!path)
        return std::nullopt;
    return std::string(path.get());
}

} // namespace forms
