#!/usr/bin/python3
# A GTK drag source for the desktop tests: one window that drags the files
# named on the command line as a text/uri-list. Prints "ready <x> <y> <width>
# <height>" (global) once shown.
#
#   /usr/bin/python3 gtk-dragsource.py FILE...

import sys

import gi

gi.require_version("Gdk", "3.0")
gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gdk, Gtk  # noqa: E402

uris = [GLib.filename_to_uri(path, None) for path in sys.argv[1:]]

window = Gtk.Window(title="gtk-dragsource")
window.set_default_size(200, 160)
window.move(60, 420)
area = Gtk.EventBox()
area.set_size_request(200, 160)
window.add(area)
area.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [Gtk.TargetEntry.new("text/uri-list", 0, 0)],
                     Gdk.DragAction.COPY)


def on_data_get(widget, context, selection, info, time):
    selection.set_uris(uris)


def report():
    origin = area.get_window().get_origin()
    allocation = area.get_allocation()
    print("ready %d %d %d %d" % (origin.x, origin.y, allocation.width, allocation.height), flush=True)
    return False


area.connect("drag-data-get", on_data_get)
window.connect("destroy", Gtk.main_quit)
window.show_all()
GLib.timeout_add(300, report)
Gtk.main()
