#!/usr/bin/env python3
"""What a screen reader hears, read through AT-SPI as the reader reads it: the chooser's device
buttons are named, focusable push buttons, and every control of the main window has a role and a
name. Runs inside its own session bus (dbus-run-session), which starts the accessibility bus.
Usage: journey_accessibility.py BIN_DIR OUTPUT_DIR"""

import os
import sys
import time

import desktop as dt
from journeybase import CHOOSER, MAIN, Journey, run_journey

DEVICE_NAMES = {"3GP phones", "PSP", "iPod", "Generic MP4"}
ACTING_ROLES = {"push button", "check box", "toggle button", "slider", "list", "combo box"}


def accessible_tree(root):
    """(role, name, states) for root and everything below it."""
    yield (root.getRoleName(), root.name or "", root.getState(), root)
    for index in range(root.childCount):
        child = root.getChildAtIndex(index)
        if child is not None:
            yield from accessible_tree(child)


def lines(nodes):
    return "; ".join(f"{node[0]} {node[1]!r}" for node in nodes)


def places(nodes):
    import pyatspi
    return "; ".join(
        f"{node[0]} at {tuple(node[3].queryComponent().getExtents(pyatspi.DESKTOP_COORDS))}"
        for node in nodes)


class AccessibilityJourney(Journey):
    def run(self):
        dt.require_tools()
        if "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
            raise dt.StepFailed("no session bus: run under dbus-run-session")
        import pyatspi

        self.step("start with the accessibility bridge on")
        self.program.env.update(DBUS_SESSION_BUS_ADDRESS=os.environ["DBUS_SESSION_BUS_ADDRESS"],
                                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        self.program.start()
        self.desktop.wait_window(CHOOSER, 60)
        time.sleep(1.5)
        self.shot("chooser")

        self.step("the chooser's device buttons are named, focusable push buttons")
        os.environ["DISPLAY"] = self.desktop.display
        app = self.wait_for_application(pyatspi)
        chooser = self.showing(app, pyatspi)
        devices = [node for node in chooser if node[1] in DEVICE_NAMES]
        found = {node[1] for node in devices}
        if found != DEVICE_NAMES:
            raise dt.StepFailed(f"device buttons heard: {sorted(found)}; all: {lines(chooser)}")
        for role, name, states, _ in devices:
            if role != "push button" or not states.contains(pyatspi.STATE_FOCUSABLE):
                raise dt.StepFailed(f"{name!r} is a {role!r}, focusable "
                                    f"{states.contains(pyatspi.STATE_FOCUSABLE)}")

        self.step("the main window's controls all have a name")
        for _ in range(3):
            self.desktop.key("Tab")
        self.desktop.key("Return")
        self.desktop.wait_window(MAIN, 20)
        time.sleep(1.5)
        self.shot("main-window")
        main = self.showing(app, pyatspi)
        acting = [node for node in main if node[0] in ACTING_ROLES]
        unnamed = [node for node in acting if not node[1].strip()]
        if len(acting) < 15 or unnamed:
            raise dt.StepFailed(f"{len(acting)} controls, unnamed: {places(unnamed)}")
        if not any(node[0] == "slider" for node in acting):
            raise dt.StepFailed("no slider for the position bar")
        print("heard in the main window: " + lines(acting), flush=True)
        self.program.process.terminate()
        self.program.wait(30)

    @staticmethod
    def wait_for_application(pyatspi):
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            desktop = pyatspi.Registry.getDesktop(0)
            for index in range(desktop.childCount):
                app = desktop.getChildAtIndex(index)
                if app is not None and "dero" in (app.name or "").lower():
                    return app
            time.sleep(0.5)
        raise dt.StepFailed("the program is not on the accessibility bus")

    @staticmethod
    def showing(app, pyatspi):
        return [node for node in accessible_tree(app) if node[2].contains(pyatspi.STATE_SHOWING)]


if __name__ == "__main__":
    sys.exit(run_journey(AccessibilityJourney, sys.argv))
