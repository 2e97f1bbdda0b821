// Clears the X clipboard the way password managers do: its owner becomes None.
#include <cstdlib>
#include <xcb/xcb.h>

int main() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    constexpr char name[] = "CLIPBOARD";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (!atom)
        return 1;
    xcb_set_selection_owner(connection, XCB_NONE, atom->atom, XCB_CURRENT_TIME);
    // A reply makes sure that the server has handled the request.
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool cleared = owner && owner->owner == XCB_NONE;
    std::free(owner);
    std::free(atom);
    xcb_disconnect(connection);
    return cleared ? 0 : 1;
}
