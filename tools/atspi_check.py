#!/usr/bin/env python3
"""What a screen reader sees of Lamello, read over AT-SPI: a manual check.

    python3 tools/atspi_check.py build/src/lamello examples/panel.txt

Starts a private X server (Xvfb), a session bus and the accessibility bus,
starts the window with the given arguments and reads it as Orca would: the
tree of the window's controls (role, name, states), the first fields of the
sheet (name, description, states), and the events sent while the keyboard
moves the selection (xdotool types the keys). Everything it started is
stopped at the end. Not part of the test suite: it needs Xvfb, dbus-x11,
at-spi2-core, python3-pyatspi and xdotool (Debian packages).
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

FIELDS_SHOWN = 12
NAMED = {"push button", "toggle button", "check box", "radio button", "combo box",
               "spin button", "text", "entry", "list", "table", "menu item", "page tab", "image"}


def start_session():
    """A display, a session bus and the accessibility bus; returns what to stop."""
    children = []
    read, write = os.pipe()
    children.append(subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1600x1000x24",
                                      "-nolisten", "tcp"], pass_fds=[write],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True))
    os.close(write)
    with os.fdopen(read) as answer:
        os.environ["DISPLAY"] = ":" + answer.readline().strip()
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, start_new_session=True)
    children.append(bus)
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
    launcher = shutil.which("at-spi-bus-launcher") or "/usr/libexec/at-spi-bus-launcher"
    children.append(subprocess.Popen([launcher, "--launch-immediately"], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True))
    time.sleep(1.0)
    return children


def states(accessible):
    import pyatspi
    wanted = [pyatspi.STATE_FOCUSED, pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSABLE,
              pyatspi.STATE_SELECTABLE, pyatspi.STATE_CHECKED, pyatspi.STATE_SHOWING]
    held = accessible.getState()
    return ",".join(pyatspi.stateToString(s) for s in wanted if held.contains(s))


def dump(accessible, depth, faults, limit=60):
    """Prints the tree; a showing control without a name is a fault."""
    role = accessible.getRoleName()
    name = accessible.name or ""
    print(f"{'  ' * depth}{role}: \"{name}\" [{states(accessible)}]")
    import pyatspi
    showing = accessible.getState().contains(pyatspi.STATE_SHOWING)
    if showing and role in NAMED and not name.strip() and role != "text":
        faults.append(f"{role} without a name under \"{accessible.parent.name}\"")
    if role == "list" and accessible.childCount > limit:
        print(f"{'  ' * (depth + 1)}… {accessible.childCount} items (read below)")
        return
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            dump(child, depth + 1, faults, limit)


def find(accessible, predicate):
    if predicate(accessible):
        return accessible
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None and (found := find(child, predicate)):
            return found
    return None


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 1
    children = start_session()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               LANGUAGE="", LC_ALL="C.UTF-8", XDG_CONFIG_HOME=tempfile.mkdtemp())
    program = subprocess.Popen(sys.argv[1:], env=env, start_new_session=True)
    children.append(program)
    try:
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        app = None
        for _ in range(100):
            app = next((a for a in desktop if a is not None and a.name.lower().startswith("lamello")), None)
            if app is not None and app.childCount:
                break
            time.sleep(0.2)
        if app is None:
            print("Lamello did not appear on the accessibility bus")
            return 1
        time.sleep(2.0)   # the file read beside the window

        print("== the window")
        faults = []
        for i in range(app.childCount):
            dump(app.getChildAtIndex(i), 0, faults)

        print("\n== the sheet's fields")
        sheet = find(app, lambda a: a.getRoleName() == "list" and a.childCount > FIELDS_SHOWN)
        if sheet is None:
            print("no sheet")
            return 1
        print(f"list \"{sheet.name}\": {sheet.childCount} fields")
        for i in range(FIELDS_SHOWN):
            field = sheet.getChildAtIndex(i)
            print(f"  {i}: {field.getRoleName()} \"{field.name}\" — \"{field.description}\" [{states(field)}]")

        print("\n== events while the keyboard moves the selection")
        events = []
        kinds = ["object:state-changed:focused", "object:state-changed:selected",
                 "object:selection-changed", "object:active-descendant-changed", "object:text-changed",
                 "focus:"]

        def heard(event):
            source = event.source
            events.append(f"{event.type} detail1={event.detail1} source={source.getRoleName()} "
                          f"\"{source.name}\" — \"{source.description}\"")

        from gi.repository import GLib
        context = GLib.MainContext.default()
        pyatspi.Registry.registerEventListener(heard, *kinds)
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Lamello"],
                                capture_output=True, text=True).stdout.split()
        for shown in window:   # no window manager: the keyboard focus is given directly
            subprocess.run(["xdotool", "windowfocus", "--sync", shown], capture_output=True)
        # The sheet has the keys at start; the first arrow selects a field.
        for key in ["Down", "Down", "Right", "End", "Home"]:
            subprocess.run(["xdotool", "key", key])
            deadline = time.time() + 0.7
            while time.time() < deadline:   # the events come through GLib's main loop
                if not context.iteration(False):
                    time.sleep(0.02)
            print(f"-- {key}")
            for line in events:
                print("   " + line)
            events.clear()
        pyatspi.Registry.deregisterEventListener(heard, *kinds)

        print("\n== the find bar with its replacement row (Ctrl+H)")
        subprocess.run(["xdotool", "key", "ctrl+h"])
        time.sleep(1.0)
        query = find(app, lambda a: a.getRoleName() == "text" and a.getState().contains(pyatspi.STATE_FOCUSED))
        if query is None:
            faults.append("Ctrl+H left no text box focused")
        else:
            dump(query.parent, 0, faults)

        print("\n== faults")
        print("\n".join(faults) if faults else "none")
        return 1 if faults else 0
    finally:
        # Each was started as a process group of its own, with what it started
        # (the accessibility bus's own dbus-daemon, the registry).
        for child in reversed(children):
            try:
                os.killpg(child.pid, signal.SIGTERM)
                child.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                if child.poll() is None:
                    os.killpg(child.pid, signal.SIGKILL)


if __name__ == "__main__":
    sys.exit(main())
