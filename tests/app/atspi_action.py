#!/usr/bin/python3
"""Finds one accessible object of a running program over AT-SPI and runs one of its actions.

Usage: atspi_action.py APP ROLES NAME ACTION [CONTAINER]
  APP        the program's application name on the accessibility bus
  ROLES      comma-separated AT-SPI role names the object may have ("radio button,check box")
  NAME       the object's accessible name
  ACTION     the action to run, by name, without regard to case ("Toggle")
  CONTAINER  optional: the name of an ancestor the object must lie in ("Speakers A")
Prints the role, the action names and the states before and after, one "key=value" a line.
"""
import sys
import time

import pyatspi


def find(node, predicate):
    for child in node:
        if child is None:
            continue
        if predicate(child):
            return child
        found = find(child, predicate)
        if found is not None:
            return found
    return None


def main():
    app_name, roles, name, action_name = sys.argv[1:5]
    container_name = sys.argv[5] if len(sys.argv) > 5 else None
    roles = [r.strip() for r in roles.split(",")]

    deadline = time.monotonic() + 20
    target = None
    while target is None and time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        app = next((a for a in desktop if a is not None and a.name == app_name), None)
        if app is not None:
            scope = app
            if container_name:
                scope = find(app, lambda n: n.name == container_name) or None
            if scope is not None:
                target = find(scope, lambda n: n.name == name and n.getRoleName() in roles)
        if target is None:
            time.sleep(0.2)
    if target is None:
        print("error=not found")
        return 2

    def states():
        s = target.getState()
        return ",".join(sorted(pyatspi.stateToString(x) for x in s.getStates()))

    action = target.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    print("role=" + target.getRoleName())
    print("actions=" + ",".join(names))
    print("before=" + states())
    index = next((i for i, n in enumerate(names) if n.lower() == action_name.lower()), -1)
    if index < 0:
        print("error=no action " + action_name)
        return 3
    action.doAction(index)
    print("after=" + states())
    return 0


if __name__ == "__main__":
    sys.exit(main())
