#include "desktop/x11_clipboard_owner.h"

#include <QClipboard>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace desktop {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPointer = std::unique_ptr<Reply, FreeReply>;

// Whether a window of this connection owns the X clipboard; true when the server cannot be
// asked. Every window's id carries the resource id base of the connection that created it.
bool X11ClipboardOwnedThrough(xcb_connection_t* connection) {
    constexpr char name[] = "CLIPBOARD";
    const ReplyPointer<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr));
    if (!atom)
        return true;
    const ReplyPointer<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
    if (!owner)
        return true;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    return owner->owner != XCB_NONE &&
           (owner->owner & ~setup->resource_id_mask) == setup->resource_id_base;
}

} // namespace

bool OwnsClipboard() {
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return !x11 || X11ClipboardOwnedThrough(x11->connection());
}

} // namespace desktop
