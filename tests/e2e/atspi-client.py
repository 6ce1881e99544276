#!/usr/bin/python3
# A small assistive-technology client for the end-to-end tests: finds an
# object of one running program in the AT-SPI tree by role and name and
# checks it or runs one of its actions, as a screen reader would.
#
#   atspi-client.py PID [--in ROLE NAME] COMMAND ...   look only inside the first ROLE NAME
#   atspi-client.py PID find ROLE NAME [STATE...]   wait until it is there (with the states)
#   atspi-client.py PID gone ROLE NAME              wait until it is not there
#   atspi-client.py PID path ROLE NAME              print the roles and names from the application down to it
#   atspi-client.py PID extents ROLE NAME           print "X Y WIDTH HEIGHT" of it inside its own window
#       (on Wayland a program knows no screen positions, only those in its windows)
#   atspi-client.py PID set ROLE NAME VALUE         set the value of a slider (its Value interface)
#   atspi-client.py PID do ROLE NAME ACTION [--announces ROLE NAME]
#       run the action; with --announces, wait until the program says that
#       the object ROLE NAME has the focus
#
# ROLE is an AT-SPI role name ("menu item", "push button"); NAME is a regular
# expression the whole name must match; STATE an AT-SPI state name
# ("checked", "focused"). Only showing objects count. Every wait is bounded
# (WAIT_TENTHS, 10 s); the exit status is 0 on success, 1 on failure.
# Needs python3-pyatspi (Debian's python, /usr/bin/python3).
import re
import sys
import time

import pyatspi
from gi.repository import GLib

WAIT_TENTHS = 100


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def matches(acc, role, name):
    return acc.getRoleName() == role and re.fullmatch(name, acc.name or "") is not None


def search(node, role, name, trail):
    """Depth first; returns the path (a list of accessibles) to the first match."""
    try:
        states = node.getState()
        if trail and not states.contains(pyatspi.STATE_SHOWING):
            return None
        if trail and matches(node, role, name):
            return trail + [node]
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                found = search(child, role, name, trail + [node])
                if found:
                    return found
    except GLib.Error:
        # The object went away while walking (a menu closing).
        return None
    return None


SCOPE = None


def lookup(pid, role, name):
    # Each look is fresh: nothing the program sent before may stand in for the tree.
    pyatspi.Registry.getDesktop(0).clearCache()
    app = application(pid)
    if app is None:
        return None
    app.clearCache()
    if SCOPE is None:
        return search(app, role, name, [])
    outer = search(app, SCOPE[0], SCOPE[1], [])
    if not outer:
        return None
    inner = search(outer[-1], role, name, [])
    return outer[:-1] + inner if inner else None


def poll(condition):
    for _ in range(WAIT_TENTHS):
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    return None


def state_names(acc):
    return {pyatspi.stateToString(s) for s in acc.getState().getStates()}


def describe(path):
    return " > ".join(f"{a.getRoleName()} '{a.name}'" for a in path)


def main(argv):
    global SCOPE
    if len(argv) > 4 and argv[2] == "--in":
        SCOPE = (argv[3], argv[4])
        argv = argv[:2] + argv[5:]
    pid, command, role, name = int(argv[1]), argv[2], argv[3], argv[4]
    rest = argv[5:]
    if command == "find":
        wanted = set(rest)
        path = poll(lambda: (p := lookup(pid, role, name)) and wanted <= state_names(p[-1]) and p)
        if not path:
            last = lookup(pid, role, name)
            have = sorted(state_names(last[-1])) if last else "not there"
            print(f"no {role} '{name}' with {sorted(wanted)}: {have}", file=sys.stderr)
            return 1
        return 0
    if command == "gone":
        if not poll(lambda: lookup(pid, role, name) is None):
            print(f"{role} '{name}' is still there", file=sys.stderr)
            return 1
        return 0
    if command == "path":
        path = poll(lambda: lookup(pid, role, name))
        if not path:
            print(f"no {role} '{name}'", file=sys.stderr)
            return 1
        print(describe(path))
        return 0
    if command == "extents":
        path = poll(lambda: lookup(pid, role, name))
        if not path:
            print(f"no {role} '{name}'", file=sys.stderr)
            return 1
        box = path[-1].queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        print(box.x, box.y, box.width, box.height)
        return 0
    if command == "set":
        path = poll(lambda: lookup(pid, role, name))
        if not path:
            print(f"no {role} '{name}'", file=sys.stderr)
            return 1
        path[-1].queryValue().currentValue = float(rest[0])
        return 0
    if command == "do":
        action = rest[0]
        announced = rest[2:4] if len(rest) >= 4 and rest[1] == "--announces" else None
        return do_action(pid, role, name, action, announced)
    print(f"unknown command {command}", file=sys.stderr)
    return 1


def do_action(pid, role, name, action, announced):
    path = poll(lambda: lookup(pid, role, name))
    if not path:
        print(f"no {role} '{name}' to {action}", file=sys.stderr)
        return 1
    acc = path[-1]
    actions = acc.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        print(f"{role} '{name}' has the actions {names}, not {action}", file=sys.stderr)
        return 1

    heard = []
    loop = GLib.MainLoop()

    def on_focus(event):
        source = event.source
        if event.detail1 == 1 and source is not None and source.get_process_id() == pid and \
                matches(source, announced[0], announced[1]):
            heard.append(describe([source.parent, source]))
            loop.quit()

    if announced:
        pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    if not actions.doAction(names.index(action)):
        print(f"{action} of {role} '{name}' failed", file=sys.stderr)
        return 1
    if announced:
        GLib.timeout_add(WAIT_TENTHS * 100, loop.quit)
        loop.run()
        pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
        if not heard:
            print(f"{action} of {role} '{name}': no focus on {announced[0]} '{announced[1]}' announced",
                  file=sys.stderr)
            return 1
        print(heard[0])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
