#!/usr/bin/env python3
"""A user on a 200 % screen: the program runs with QT_SCALE_FACTOR=2 and each of its five
windows (device chooser, main window, profile editor, progress window, about window) comes up at
twice its size, drawn from the skin's double-size pictures: its frame's edge stays as sharp as on
a 100 % screen, with nothing cut. Each window's picture is kept for a person to look at.
Usage: journey_hidpi.py BIN_DIR OUTPUT_DIR"""

import os
import sys
import tempfile
import time

import desktop as dt
from journeybase import CHOOSER, MAIN, Journey, run_journey

SCALE = 2
# The frame is one unit of the frame colour, then one of white highlight: at 2 x two pixels of
# each. A 1 x picture enlarged smoothly spreads that step over three or four pixels.
EDGE_PIXELS = 8
SHARP_SHARE = 0.7
LEAST_CONTRAST = 60


def luminance(rgb):
    red, green, blue = rgb
    return 0.299 * red + 0.587 * green + 0.114 * blue


class HiDpiJourney(Journey):
    def __init__(self, bin_dir, out_dir, window_manager=False):
        # Room for the main window at twice its size.
        super().__init__(bin_dir, out_dir, window_manager, screen=(2400, 1600))
        self.program.env["QT_SCALE_FACTOR"] = str(SCALE)
        self.looked_at = []

    def unit_size(self, section):
        _, _, width, height = self.skin.bounds(section, "Img_Background")
        return width, height

    def row(self, x, y, width):
        """The colours of one screen row from x on."""
        with tempfile.NamedTemporaryFile(suffix=".rgb") as dump:
            self.desktop._run(["import", "-window", "root", "-crop", f"{width}x1+{x}+{y}",
                               "-depth", "8", "rgb:" + dump.name])
            with open(dump.name, "rb") as handle:
                data = handle.read()
        return [tuple(data[i:i + 3]) for i in range(0, len(data), 3)]

    def keep_picture(self, window, section):
        """The window alone, as a picture beside the screenshots."""
        left, top = self.desktop.origin(window)
        width, height = dt.window_size(self.desktop, window)
        path = os.path.join(self.desktop.shots_dir, f"hidpi-{section}.png")
        self.desktop._run(["import", "-window", "root", "-crop",
                           f"{width}x{height}+{left}+{top}", "+repage", path])
        self.looked_at.append(path)

    def check_window(self, window, section):
        """Twice the skin's size, and the left edge of the frame a sharp step."""
        unit_width, unit_height = self.unit_size(section)
        size = dt.window_size(self.desktop, window)
        if size != (unit_width * SCALE, unit_height * SCALE):
            raise dt.StepFailed(f"{section} is {size[0]}x{size[1]}, not twice "
                                f"{unit_width}x{unit_height}")
        self.keep_picture(window, section)
        left, top = self.desktop.origin(window)
        # Half way down, below the title band and clear of the rounded corners.
        levels = [luminance(rgb) for rgb in self.row(left, top + size[1] // 2, EDGE_PIXELS)]
        contrast = max(levels) - min(levels)
        steepest = max(abs(b - a) for a, b in zip(levels, levels[1:]))
        if contrast < LEAST_CONTRAST or steepest < SHARP_SHARE * contrast:
            raise dt.StepFailed(f"{section}'s frame is blurred: steps {levels}")

    def open_window(self, opener, width_height, section, seconds=20):
        opener()
        window = dt.wait_window_of_size(self.desktop, *width_height, seconds)
        time.sleep(1.0)
        self.check_window(window, section)
        return window

    def doubled(self, section):
        width, height = self.unit_size(section)
        return width * SCALE, height * SCALE

    def click(self, window, section, key):
        left, top = self.desktop.origin(window)
        x, y = self.skin.centre(section, key)
        self.desktop.click_at(left + x * SCALE, top + y * SCALE)

    def run(self):
        dt.require_tools()
        self.step("start on a 200 % screen: the device chooser")
        self.program.start()
        chooser = self.desktop.wait_window(CHOOSER, 60)
        time.sleep(1.0)
        self.check_window(chooser, "SelectWindow")

        self.step("the main window")
        self.click(chooser, "SelectWindow", "TB_PSP")
        main = self.desktop.wait_window(MAIN, 20)
        time.sleep(1.0)
        self.check_window(main, "MainWindow")

        self.step("the profile editor")
        editor = self.open_window(lambda: self.click(main, "MainWindow", "TB_Edit"),
                                  self.doubled("ProfileWindow"), "ProfileWindow")
        self.click(editor, "ProfileWindow", "TB_Cancel")
        time.sleep(0.5)

        self.step("the progress window")
        progress = self.open_window(lambda: self.click(main, "MainWindow", "TB_Convert"),
                                    self.doubled("ProgressWindow"), "ProgressWindow")
        self.click(progress, "ProgressWindow", "TB_Close")
        time.sleep(0.5)

        self.step("the about window")

        def open_about():
            self.click(main, "MainWindow", "TB_Help")
            time.sleep(0.8)
            self.desktop.key("Up")  # About is the menu's last entry
            self.desktop.key("Return")

        about = self.open_window(open_about, self.doubled("AboutWindow"), "AboutWindow")
        self.click(about, "AboutWindow", "TB_Close")
        time.sleep(0.5)

        self.step("close and exit")
        self.click(main, "MainWindow", "TB_Close")
        chooser = self.desktop.wait_window(CHOOSER, 20)
        time.sleep(0.5)
        self.click(chooser, "SelectWindow", "TB_Exit")
        status = self.program.wait(60)
        if status != 0:
            raise dt.StepFailed(f"the program ended with status {status}")
        print("pictures of the windows at 2 x:\n  " + "\n  ".join(self.looked_at))


if __name__ == "__main__":
    sys.exit(run_journey(HiDpiJourney, sys.argv))
