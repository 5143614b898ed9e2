#!/usr/bin/env python3
"""Start-up that cannot go on: a damaged skin picture and a missing encoder library each end
the program with an error box the user can see and answer, in front of the splash.
Usage: journey_startup.py BIN_DIR OUTPUT_DIR [--window-manager]"""

import os
import sys
import time

import desktop as dt
from journeybase import CHOOSER, Journey, run_journey

SPLASH_SIZE = (480, 300)  # the default skin's startup.jpg


class StartupJourney(Journey):
    def box_in_front(self, box):
        """True when nothing the program shows covers the box: no splash on the screen, or the
        box above it in the window manager's stacking."""
        splash = [window for window in dt.visible_windows(self.desktop)
                  if window != box and dt.window_size(self.desktop, window) == SPLASH_SIZE]
        if not splash:
            return True
        if self.desktop.window_manager is None:
            return False
        order = self.desktop.stacking()
        box_frame = int(box)
        if box_frame not in order:
            return False
        return all(int(window) in order and order.index(int(window)) < order.index(box_frame)
                   for window in splash)

    def expect_error_box_then_end(self, what):
        box = self.desktop.wait_window("Error", 60)
        time.sleep(1.5)  # the splash would be fully in by now
        self.shot(what + "-box")
        if not self.box_in_front(box):
            raise dt.StepFailed(f"the error box about {what} is behind the splash")
        if self.desktop.window(CHOOSER) is not None:
            raise dt.StepFailed("the device chooser came up for use")
        self.desktop._run(["xdotool", "windowactivate", "--sync", box], check=False)
        self.desktop.key("Return")
        status = self.program.wait(30)
        if status != 0:
            raise dt.StepFailed(f"the program ended with status {status}")
        self.shot(what + "-ended")

    def run(self):
        dt.require_tools()
        picture = os.path.join(self.program.folder, "Skin", "Select", "TB_Exit.bmp")
        with open(picture, "rb") as handle:
            kept = handle.read()

        self.step("a damaged skin picture: the skin's error box in front, then the end")
        with open(picture, "wb") as handle:
            handle.write(b"BM this is no picture")
        self.program.start()
        self.expect_error_box_then_end("skin")

        self.step("no encoder library: its error box in front, then the end")
        with open(picture, "wb") as handle:
            handle.write(kept)
        os.remove(os.path.join(self.program.folder, "libEncoder.so"))
        self.program.start()
        self.expect_error_box_then_end("encoder")


if __name__ == "__main__":
    sys.exit(run_journey(StartupJourney, sys.argv))
