#!/usr/bin/python3
"""Reads the game as a screen reader does, over the accessibility bus (AT-SPI).

Usage: atspi.py PID            prints what a reader finds: "board=NAME ROWSxCOLUMNS", then
                               "cell.P=NAME" for each cell, "button=NAME" for each tool button
                               and "label=NAME" for each text
       atspi.py PID press P    presses the board's cell at position P
Exits with status 1 when the program's window is not there to be read.
"""
import sys

import pyatspi


def walk(node, depth=0):
    if node is None or depth > 15:
        return
    yield node
    if node.getRole() == pyatspi.ROLE_TABLE:
        return  # its cells are read through the table
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def main():
    app = application(int(sys.argv[1]))
    if app is None:
        return 1
    nodes = list(walk(app))
    tables = [node for node in nodes if node.getRole() == pyatspi.ROLE_TABLE]
    if not tables:
        return 1
    table = tables[0].queryTable()
    n = table.nRows
    if sys.argv[2:3] == ["press"]:
        p = int(sys.argv[3])
        table.getAccessibleAt((p - 1) // n, (p - 1) % n).queryAction().doAction(0)
        return 0
    print(f"board={tables[0].name} {table.nRows}x{table.nColumns}")
    for p in range(1, n * n + 1):
        print(f"cell.{p}={table.getAccessibleAt((p - 1) // n, (p - 1) % n).name}")
    for node in nodes:
        if node.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON):
            print(f"button={node.name}")
        elif node.getRole() == pyatspi.ROLE_LABEL and node.name:
            print(f"label={node.name}")
    return 0


sys.exit(main())
