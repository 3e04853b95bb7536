# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
"""Plays one problem of the real program through the accessibility bus, as a screen reader's
user would: the buttons by their Japanese names, the row by what it says, the mark as it is
announced. Prints the open row's part of the tree. Exits non-zero on any failure."""
import re
import sys
import time

import pyatspi

DEADLINE = time.monotonic() + 90  # a bound for a loaded machine; a run takes seconds
application = None


def wait_for(what, find):
    while time.monotonic() < DEADLINE:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    if application is not None:
        print("what the bus shows:", file=sys.stderr)
        for node in walk(application):
            if node.getState().contains(pyatspi.STATE_SHOWING):
                print(f"  {node.getRoleName():12} {node.name}", file=sys.stderr)
    sys.exit(f"timed out waiting for {what}")


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == "pikomaru":
            return a
    return None


def named(name, showing=True):
    def find():
        for node in walk(application):
            state = node.getState()
            if node.name == name and (not showing or state.contains(pyatspi.STATE_SHOWING)):
                return node
        return None
    return wait_for(f"'{name}'", find)


def press(node):
    """The node's own action: press for a button, toggle for an option."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("Press", "press", "Toggle", "toggle", "click"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    sys.exit(f"{node.name!r} offers no press: {names}")


application = wait_for("the program on the bus", app)
press(named("たしざん"))
level = named("L03    8+ 4     1ｹﾀ + 1ｹﾀ  くりあがり")
press(level)  # a press may come a moment later: wait for what it does
wait_for("level 3 chosen", lambda: level.getState().contains(pyatspi.STATE_CHECKED))
press(named("けってい"))
press(named("ここをクリックしてください。（1ばんめ）"))
row = wait_for("the open row", lambda: next(
    (n for n in walk(application) if n.name.startswith("レベル 3 ( 1) せいせき：")), None))
problem = re.search(r"(\d+) ＋ (\d+) ＝", row.name)
if not problem:
    sys.exit(f"no problem in the row's name: {row.name!r}")
total = int(problem.group(1)) + int(problem.group(2))
answer = named("こたえ（1ばんめ）")
for count, digit in enumerate(str(total), 1):
    press(named(f"{digit}（1ばんめ）"))
    wait_for(f"{count} digits in the answer box",
             lambda: answer.queryText().getText(0, -1) == str(total)[:count])
press(named("チェック（1ばんめ）"))
wait_for("せいかい", lambda: row.name.startswith("せいかい"))
wait_for("the next problem", lambda: row.name.startswith("レベル 3 ( 2) せいせき：○"))

print("the open row on the accessibility bus:")
for node in [row] + [n for n in walk(application) if "（1ばんめ）" in (n.name or "")
                     and n.getState().contains(pyatspi.STATE_SHOWING)]:
    print(f"  {node.getRoleName():12} {node.name}")
print("one problem played through the accessibility bus")
