"""What a screen reader learns of the program's windows over AT-SPI. Run by Debian's python3.

Usage: accessible.py APPLICATION COMMAND
  tree     each shown window and its controls, one a line: role, name, and what a screen
           reader is told besides (labelled-by, label-for, disabled, focusable, actions)
  focused  the control that has the focus, as the tree names it
  row NAME the centre of the list's entry NAME on the screen, as "X Y"
"""
import sys

import pyatspi

# The roles a screen reader announces as controls, by the names the tests give them. The role
# numbers are stable; their names are not (Debian 13's at-spi2-core calls a push button "button").
# Other objects (scroll bars, fillers, the list's entries, a message box's icon) belong to these
# or say nothing; objects of other roles only group: panels, and whatever holds the buttons of a
# message box, which Qt versions expose differently.
CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON: "push button",
    pyatspi.ROLE_TEXT: "text",
    pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_LINK: "link",
    pyatspi.ROLE_LABEL: "label",
}
RELATIONS = {
    pyatspi.RELATION_LABELLED_BY: "labelled-by",
    pyatspi.RELATION_LABEL_FOR: "label-for",
}


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    sys.exit(f"no application {name} on the accessibility bus")


def windows(app):
    return [w for w in app if w.getState().contains(pyatspi.STATE_SHOWING)]


def role(accessible):
    return CONTROLS.get(accessible.getRole(), accessible.getRoleName())


def controls(window):
    """The window's controls, in the order of the accessible tree."""
    for child in window:
        if child.getRole() in CONTROLS:
            yield child
        else:
            yield from controls(child)


def describe(accessible):
    words = [role(accessible), repr(accessible.name)]
    for relation in accessible.getRelationSet():
        kind = RELATIONS.get(relation.getRelationType())
        if kind:
            targets = (relation.getTarget(i) for i in range(relation.getNTargets()))
            words += [kind] + [role(t) for t in targets]
    state = accessible.getState()
    if not state.contains(pyatspi.STATE_ENABLED):
        words.append("disabled")
    if state.contains(pyatspi.STATE_FOCUSABLE):
        words.append("focusable")
    try:
        action = accessible.queryAction()
        names = (action.getName(i) for i in range(action.nActions))
        words += [name for name in names if name != "SetFocus"]
    except NotImplementedError:
        pass
    return " ".join(words)


def tree(app):
    for window in windows(app):
        print(f"{role(window)} {window.name!r}")
        for control in controls(window):
            print("  " + describe(control))


def focused(app):
    for window in windows(app):
        for control in controls(window):
            if control.getState().contains(pyatspi.STATE_FOCUSED):
                print(f"{role(control)} {control.name!r}")
                return
    sys.exit("no control has the focus")


def row(app, name):
    for window in windows(app):
        for control in controls(window):
            if control.getRole() != pyatspi.ROLE_LIST:
                continue
            for entry in control:
                if entry.name == name:
                    extents = entry.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                    print(extents.x + extents.width // 2, extents.y + extents.height // 2)
                    return
    sys.exit(f"no entry {name} in a list")


def main():
    app = application(sys.argv[1])
    command = sys.argv[2]
    if command == "tree":
        tree(app)
    elif command == "focused":
        focused(app)
    elif command == "row":
        row(app, sys.argv[3])
    else:
        sys.exit(f"unknown command {command}")


main()
