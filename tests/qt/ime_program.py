#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# The real program typed into through the input method, read back through
# its accessibility interface (AT-SPI) as a screen reader would: the Enter
# that commits a composition does not calculate; the next Enter does, and a
# screen reader is told the reason without the focus moving: as the result
# box's new text, and with Qt 6.8 or later as an announcement, every time.
# Run by ime_session.sh inside its X server, D-Bus session and ibus, keys
# from xdotool; and by wayland_session.sh on sway (TRESSIN_KEYS=wtype), keys
# through the compositor's virtual keyboard.
#
#   ime_program.py TRESSIN
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# What a screen reader is told: (event, the source's name, the text).
heard = []


def pump(seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, probe, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        got = probe()
        if got:
            return got
        pump(0.1)
    sys.exit(f"FAIL: {what}")


def on_event(event):
    heard.append((event.type, event.source.get_name() if event.source else "", event.any_data))


listener = Atspi.EventListener.new(on_event)
for kind in ("object:text-changed:insert", "object:announcement"):
    listener.register(kind)


def application(name):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name().lower() == name:
            return app
    return None


def named(node, name):
    if node.get_name() == name and node.get_role() == Atspi.Role.TEXT:
        return node
    for i in range(node.get_child_count()):
        found = named(node.get_child_at_index(i), name)
        if found is not None:
            return found
    return None


def text(box):
    return Atspi.Text.get_text(box, 0, Atspi.Text.get_character_count(box))


WAYLAND = os.environ.get("TRESSIN_KEYS") == "wtype"


def keys(*names):
    if not WAYLAND:
        subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True)
        return
    typed = []
    for name in names:
        typed += ["-M", "ctrl", "-k", name[5:], "-m", "ctrl"] if name.startswith("ctrl+") else ["-k", name]
    subprocess.run(["wtype", "-d", "60", *typed], check=True)


program = subprocess.Popen([sys.argv[1]])
try:
    app = wait_for("tressin on the accessibility bus", lambda: application("tressin"))
    height = wait_for("the height box", lambda: named(app, "変位の値"))
    result = wait_for("the result box", lambda: named(app, "電力(仕事率) [W]"))
    if WAYLAND:  # the compositor gives the new window the focus
        wait_for("the height box focused", lambda: height.get_state_set().contains(Atspi.StateType.FOCUSED))
    else:  # a bare X server does not
        window = wait_for("the window", lambda: subprocess.run(
            ["xdotool", "search", "--name", "^Kobrel$"], capture_output=True, text=True).stdout.split())
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=True)
    keys("ctrl+a", "3", "3", "3")
    time.sleep(0.5)
    if "3" in text(height) or "３" in text(height):  # the preedit is not the box's text yet
        sys.exit(f"FAIL: the height box holds {text(height)!r} while composing")
    keys("Return")
    wait_for("the committed ３３３", lambda: text(height) == "３３３", 10)
    time.sleep(0.5)
    if text(result) != "0":
        sys.exit(f"FAIL: the Enter that committed calculated: {text(result)!r}")
    keys("Return")
    wait_for("the second Enter calculating", lambda: text(result) == "時間が0です", 10)
    print("PASS: the real program: committing Enter left the result alone; the next Enter calculated")
    reason = ("object:text-changed:insert", "電力(仕事率) [W]", "時間が0です")
    wait_for(f"the screen reader told {reason}", lambda: reason in heard, 10)
    if not height.get_state_set().contains(Atspi.StateType.FOCUSED):
        sys.exit("FAIL: the focus left the height box")
    qt = tuple(int(n) for n in app.get_toolkit_version().split(".")[:2])
    if qt >= (6, 8):
        keys("Return")  # the same reason again: announced again
        said = ("object:announcement", "電力(仕事率) [W]", "時間が0です")
        wait_for(f"two announcements {said}", lambda: heard.count(said) == 2, 10)
    print(f"PASS: the reason reached the screen reader, the focus staying (Qt {app.get_toolkit_version()}: "
          f"{'announced each time' if qt >= (6, 8) else 'the result box text only; no announcements before Qt 6.8'})")
finally:
    program.terminate()
    program.wait()
