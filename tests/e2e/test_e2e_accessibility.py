#!/usr/bin/python3
"""The real binary read and driven through the accessibility bus, as a screen
reader does: the popover's controls, Copy's action reaching the X clipboard,
Tab through the popover, one library row per capture, the picker's modes."""

import os
import struct
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 20.0
BINARY = os.environ["TARNWICK_BINARY"]
failures = []
passed = []


def wait_for(condition):
    """Polls condition, running the event loop, until it holds or time runs out."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            value = condition()
        except Exception:  # the tree changes under us while windows open
            value = None
        if value:
            return value
        time.sleep(0.05)
    return None


def check(ok, what):
    (passed if ok else failures).append(what)
    print(("ok    " if ok else "FAIL  ") + what, flush=True)


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def controls(window, roles=("push button", "radio button", "check box", "toggle button")):
    """The named controls of window a screen reader would read, by name."""
    return {n.name: n for n in descendants(window) if n.getRoleName() in roles and showing(n) and n.name}


def app_node():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Tarnwick":
            return app
    return None


def window(title):
    app = app_node()
    return next((w for w in app if w is not None and w.name == title and showing(w)), None) if app else None


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def clipboard_png_size():
    """The size of the PNG on the X clipboard, or None."""
    png = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "image/png"],
                         capture_output=True, timeout=5).stdout
    return struct.unpack(">II", png[16:24]) if png[:8] == b"\x89PNG\r\n\x1a\n" else None


def write_png(path, width, height):
    subprocess.run(["convert", "-size", f"{width}x{height}", "xc:#3A7BD5", path], check=True)


# Names of controls that are hidden in the states this test reaches.
HIDDEN = {"0 QR", "Upload to Imgur", "Download", "Download Update", "Capturing...", "No Screenshots",
          "Take a screenshot to get started.", "Select a screenshot"}


def check_popover():
    popover = wait_for(lambda: window("Tarnwick"))
    wanted = {"Copy", "Copy Text", "Open", "Show in Folder", "Annotate", "Library"}
    shown = popover and wait_for(lambda: (lambda c: c if wanted <= c.keys() and any(
        n.name.endswith(" of 2") for n in descendants(popover)) else None)(controls(popover)))
    check(bool(shown), "the popover shows " + ", ".join(sorted(shown or wanted)))
    if not shown:
        return
    check(not HIDDEN & {n.name for n in descendants(popover) if showing(n)}, "no hidden control is listed")
    check(any(n.getRoleName() == "image" and n.name.startswith("Screenshot from ") and n.name.endswith(", 600 × 400")
              for n in descendants(popover)), "the picture is described")

    announced = []
    pyatspi.Registry.registerEventListener(lambda event: announced.append(event.source.name),
                                           "object:property-change:accessible-name")
    # xclip takes the clipboard from a child it leaves behind: wait until it holds it.
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"before", check=True)
    check(wait_for(lambda: subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                                          timeout=5).stdout == b"before"), "another program owns the clipboard")
    press(shown["Copy"])
    check(wait_for(lambda: clipboard_png_size() == (600, 400)),
          "Copy's action puts the 600 × 400 image on the clipboard")
    check(wait_for(lambda: "Copied" in announced), "the feedback reaches the screen reader as the control's new name")

    def focus():
        node = next((n for n in descendants(popover) if n.getState().contains(pyatspi.STATE_FOCUSED)), None)
        return node and (node.getRoleName(), node.name, tuple(node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)))

    focused = [focus()]
    for _ in range(6):
        subprocess.run(["xdotool", "key", "Tab"], check=True)
        focused.append(wait_for(lambda: (lambda now: now if now and now != focused[-1] else None)(focus())))
    reached = [f for f in focused[1:] if f]
    check(len({f[1] for f in reached}) >= 4 and all(f[1] for f in reached),
          "Tab walks named controls: " + ", ".join(f"{f[0]} {f[1]!r}" for f in reached))


def check_library():
    library = wait_for(lambda: window("Library"))
    rows = library and wait_for(lambda: [n for n in descendants(library) if n.getRoleName() == "list item"])
    check(rows and len(rows) == 2, f"the library has one row per capture ({len(rows or [])} rows)")
    check(library and not HIDDEN & {n.name for n in descendants(library) if showing(n)},
          "no hidden control is listed in the library")


def check_picker():
    picker = wait_for(lambda: window("Color Picker"))
    modes = picker and wait_for(lambda: (lambda c: c if {"HEX", "RGB", "RGBA"} <= c.keys() else None)(
        controls(picker, ("radio button",))))
    check(bool(modes), "the picker's modes are radio buttons")
    if not modes:
        return
    checked = lambda: [m for m in ("HEX", "RGB", "RGBA") if modes[m].getState().contains(pyatspi.STATE_CHECKED)]
    check(checked() == ["HEX"], "HEX is the checked mode")
    press(modes["RGB"])
    check(wait_for(lambda: checked() == ["RGB"]), "pressing RGB checks it alone")


def run(home):
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_DATA_HOME=home + "/.local/share",
               XDG_CACHE_HOME=home + "/.cache", QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.pop("XDG_PICTURES_DIR", None)
    folder = home + "/Pictures/Screenshots"
    os.makedirs(folder)
    tarnwick = lambda *args: subprocess.run([BINARY, *args], env=env, timeout=30)

    # The accessibility bus runs before the app starts, as in a desktop session.
    pyatspi.Registry.getDesktop(0)
    app = subprocess.Popen([BINARY], env=env)
    try:
        check(wait_for(app_node), "the app is on the accessibility bus")
        if failures:
            return
        for second in range(2):
            write_png(f"{folder}/Screenshot from 2026-12-06 10-00-0{second}.png", 600, 400)
        tarnwick("--toggle")
        check_popover()
        tarnwick("--library")
        check_library()
        tarnwick("--pick-color", f"{folder}/Screenshot from 2026-12-06 10-00-00.png")
        check_picker()
    finally:
        app.terminate()
        try:
            app.wait(10)
        except subprocess.TimeoutExpired:
            app.kill()
            app.wait()


with tempfile.TemporaryDirectory() as home:
    run(home)
print(f"{len(passed)} passed, {len(failures)} failed")
for failure in failures:
    print("  " + failure)
sys.exit(1 if failures else 0)
