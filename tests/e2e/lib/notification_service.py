"""A desktop's notification service on the session bus that writes down what it is asked to show.
Debian's python3.

Usage: notification_service.py LOG
  Each notification adds "SUMMARY|BODY" to LOG, the body's line breaks as "\\n". "ready" is
  printed once the service's name is owned.
"""
import sys

from gi.repository import Gio, GLib

INTERFACE = """
<node>
  <interface name="org.freedesktop.Notifications">
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/>
      <arg type="u" direction="out"/>
    </method>
  </interface>
</node>
"""


def main():
    log = sys.argv[1]
    interface = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]

    def called(connection, sender, path, interface_name, method, parameters, invocation):
        summary, body = parameters[3], parameters[4].replace("\n", "\\n")
        with open(log, "a", encoding="utf-8") as notes:
            notes.write(f"{summary}|{body}\n")
        invocation.return_value(GLib.Variant("(u)", (1,)))

    def acquired(connection, name):
        connection.register_object("/org/freedesktop/Notifications", interface, called)

    def owned(connection, name):
        print("ready", flush=True)

    Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.Notifications",
                     Gio.BusNameOwnerFlags.NONE, acquired, owned, lambda *_: sys.exit(1))
    GLib.MainLoop().run()


main()
