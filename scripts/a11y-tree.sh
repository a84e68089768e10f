#!/usr/bin/env bash
# What a screen reader gets from Quorvex over AT-SPI, as Orca would:
#   scripts/a11y-tree.sh [BUILD_DIR]      (default: build)
# Starts the program under Xvfb with a session D-Bus of its own and the
# AT-SPI registry, then prints
#   1. the accessible tree of the menu,
#   2. the binary integers window opened with Return, 200 typed and Enter
#      pressed: the events that one Convert emits, and where the focus goes,
#   3. the working pane's accessible text.
# Needs (installed when missing, through sudo when not root): xvfb xdotool
# dbus at-spi2-core python3-gi gir1.2-atspi-2.0 python3-pyatspi.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
program="$build/quorvex"

if [ -z "${QUORVEX_A11Y_INSIDE:-}" ]; then
    . scripts/install-missing.sh
    install_missing xvfb xdotool dbus at-spi2-core python3-gi gir1.2-atspi-2.0 python3-pyatspi
    [ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
    export QUORVEX_A11Y_INSIDE=1
    exec scripts/xvfb.sh dbus-run-session -- "$0" "$@"
fi

# Inside Xvfb and the session bus: the accessibility bus and its registry,
# then the program with Qt's AT-SPI bridge on.
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    kill "$launcher" 2>/dev/null || true
    wait "$launcher" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
"$program" >/dev/null 2>&1 &
program_pid=$!

/usr/bin/python3 - <<'PYTHON'
import subprocess
import sys
import time

import gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib


def find_app(name, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.2)
    sys.exit("the program did not appear on the accessibility bus")


def describe(node):
    role = node.get_role_name()
    name = node.get_name() or ""
    text = ""
    try:
        iface = node.get_text_iface()
        if iface is not None:
            count = Atspi.Text.get_character_count(node)
            text = Atspi.Text.get_text(node, 0, min(count, 60))
    except Exception:
        pass
    description = node.get_description() or ""
    states = node.get_state_set()
    flags = [s for s, st in (("focused", Atspi.StateType.FOCUSED), ("focusable", Atspi.StateType.FOCUSABLE),
                             ("invisible", None)) if st is not None and states.contains(st)]
    if not states.contains(Atspi.StateType.SHOWING):
        flags.append("hidden")
    out = f"{role} {name!r}"
    if text:
        out += f" text={text!r}"
    if description:
        out += f" description={description!r}"
    if flags:
        out += " [" + ", ".join(flags) + "]"
    return out


def tree(node, depth=0, lines=None, limit=4):
    lines = [] if lines is None else lines
    lines.append("  " * depth + describe(node))
    if depth < limit:
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                tree(child, depth + 1, lines, limit)
    return lines


def find(node, name):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        if child.get_name() == name or (child.get_attributes() or {}).get("id") == name:
            return child
        found = find(child, name)
        if found is not None:
            return found
    return None


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=20)


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        context.iteration(False)
        time.sleep(0.01)


app = find_app("quorvex")
menu_window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Quorvex$"],
                             capture_output=True, text=True, timeout=20).stdout.split()[0]
xdo("windowfocus", "--sync", menu_window)
pump(0.5)
print("== 1. The menu's accessible tree")
print("\n".join(tree(app)))

events = []


def on_event(event):
    source = event.source
    who = f"{source.get_role_name()} {source.get_name()!r}" if source is not None else "?"
    detail = ""
    if isinstance(event.any_data, str):
        detail = repr(event.any_data[:70])
    events.append(f"{event.type} ({event.detail1}, {event.detail2}) {who} {detail}".rstrip())


listener = Atspi.EventListener.new(on_event)
for kind in ("object:state-changed:focused", "object:text-changed", "object:text-caret-moved",
             "object:text-selection-changed", "object:property-change:accessible-description",
             "object:property-change:accessible-name", "window:activate", "focus:"):
    listener.register(kind)

print("\n== 2. Return on the first menu button, 200, Enter")
xdo("key", "Return")
window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Binary Integers$"],
                        capture_output=True, text=True, timeout=20).stdout.split()[0]
xdo("windowfocus", "--sync", window)
pump(1)
events.clear()
xdo("type", "--delay", "40", "200")
pump(0.5)
print(f"(typing 200 emitted {len(events)} events)")
events.clear()
xdo("key", "Return")
pump(2)
print("Events of one Convert:")
for e in events:
    print("  " + e)

print("\n== 3. The working pane's accessible text")
pane = None
for i in range(app.get_child_count()):
    top = app.get_child_at_index(i)
    if top is not None and top.get_name() == "Binary Integers":
        pane = find(top, "Working")
        print("Window:")
        print("\n".join("  " + line for line in tree(top, limit=3)))
if pane is None:
    sys.exit("no working pane found")
count = Atspi.Text.get_character_count(pane)
print(f"characters: {count}")
print(Atspi.Text.get_text(pane, 0, count))
line = Atspi.Text.get_text_at_offset(pane, 0, Atspi.TextBoundaryType.LINE_START)
print(f"the line at offset 0: {line.content!r} ({line.start_offset}-{line.end_offset})")
xdo("key", "Escape")
PYTHON
