#include "desktop/wayland_data_control.h"

#include <cstring>
#include <initializer_list>
#include <wayland-client.h>

namespace desktop {
namespace {

void NoteGlobal(void* found, wl_registry*, uint32_t, const char* interface, uint32_t) {
    for (const char* dataControl : {"zwlr_data_control_manager_v1", "ext_data_control_manager_v1"})
        if (std::strcmp(interface, dataControl) == 0)
            *static_cast<bool*>(found) = true;
}

void IgnoreRemovedGlobal(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener GlobalsListener{.global = NoteGlobal,
                                               .global_remove = IgnoreRemovedGlobal};

} // namespace

bool CompositorOffersDataControl() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    bool found = false;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &GlobalsListener, &found);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return found;
}

} // namespace desktop
