#include "desktop/copy_keeping.h"

#include <gtest/gtest.h>

namespace {

using desktop::CopyKeeping;

struct SessionCase {
    const char* kind;
    const char* platform;
    bool waylandDisplaySet;
    bool offersDataControl;
    CopyKeeping expected;
};

TEST(CopyKeepingTest, EachKindOfSessionKeepsTheCopyItsOwnWay) {
    const SessionCase cases[] = {
        {"X11", "xcb", false, false, CopyKeeping::X11Keeper},
        // A compositor found on a default socket says nothing of an X11 session.
        {"X11, a compositor on the default socket", "xcb", false, true, CopyKeeping::X11Keeper},
        {"Wayland with data-control", "wayland", true, true, CopyKeeping::WlCopy},
        {"Wayland through EGL with data-control", "wayland-egl", true, true, CopyKeeping::WlCopy},
        {"Wayland without data-control", "wayland", true, false, CopyKeeping::CompositorReadsIt},
        {"Wayland on the default socket", "wayland", false, true, CopyKeeping::WlCopy},
        {"Xwayland with data-control", "xcb", true, true, CopyKeeping::WlCopy},
        {"Xwayland without data-control", "xcb", true, false, CopyKeeping::X11Keeper},
        {"offscreen", "offscreen", false, false, CopyKeeping::NothingNeeded},
        {"offscreen in a Wayland session", "offscreen", true, true, CopyKeeping::NothingNeeded},
        {"no display", "minimal", false, false, CopyKeeping::NothingNeeded},
    };
    for (const SessionCase& c : cases) {
        const desktop::DesktopSession session{
            .platform = QString::fromLatin1(c.platform),
            .waylandDisplaySet = c.waylandDisplaySet,
            .offersDataControl = [&c] { return c.offersDataControl; }};
        EXPECT_EQ(desktop::HowTheCopyOutlivesTheProgram(session), c.expected) << c.kind;
    }
}

} // namespace
