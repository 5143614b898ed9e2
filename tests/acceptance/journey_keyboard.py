#!/usr/bin/env python3
"""The whole journey by keyboard alone, the mouse never pressed: pick the MP4 family, add a clip
by typing its name into the file dialog, trim it with the position bar's keys and the mark
buttons, look into the profile editor and leave it with Escape, choose a profile, keep the shape,
convert, close the progress window with Escape, close the main window and exit. Each step moves
the focus only with Tab and Backtab from where the window put it.
Usage: journey_keyboard.py BIN_DIR OUTPUT_DIR [--window-manager]"""

import os
import sys
import time

import desktop as dt
import media
from journeybase import CHOOSER, MAIN, Journey, run_journey

# From the window's first control, in the windows' Tab order.
CHOOSER_TO_MP4 = 3          # 3GP, PSP, iPod, MP4
LIST_TO_POSITION_BAR = 6    # list, Add, Remove, Play, Pause, Stop, position bar
CONVERT_TO_CLOSE = 3        # Convert, Help, Minimize, Close
MP4_TO_EXIT = 3             # MP4, Help, Minimize, Exit


class KeyboardJourney(Journey):
    def tab(self, count=1):
        for _ in range(count):
            self.desktop.key("Tab")

    def run(self):
        dt.require_tools()
        self.step("make a clip")
        folder = os.path.join(self.work, "clips")
        os.makedirs(folder)
        clip = os.path.join(folder, "walk.mp4")
        media.make_clip(clip, 320, 240, 8)

        self.step("start: the chooser shows no focus until Tab is pressed")
        self.program.start()
        chooser = self.desktop.wait_window(CHOOSER, 60)
        time.sleep(1.0)
        self.shot("chooser")

        self.step("choose the MP4 family by Tab and Return")
        self.tab(CHOOSER_TO_MP4)
        self.shot("chooser-mp4-focused")
        self.desktop.key("Return")
        main = self.desktop.wait_window(MAIN, 20)
        time.sleep(1.0)
        self.shot("main-window")

        self.step("Ctrl+O and type the clip's name")
        before = set(dt.visible_windows(self.desktop))
        self.desktop.key("ctrl+o")
        self.desktop.wait_for(lambda: set(dt.visible_windows(self.desktop)) - before, 20,
                              "the file dialog")
        time.sleep(1.0)
        self.desktop.key("ctrl+a")
        self.desktop.type_text(clip)
        time.sleep(0.3)
        self.shot("file-dialog-name")
        self.desktop.key("Return")
        self.desktop.wait_for(lambda: self.item_shows(main, 0), 60, "the clip in the list")
        time.sleep(0.5)
        self.shot("clip-added")

        self.step("select the clip, Space plays it and Space pauses it")
        self.desktop.key("Home")
        idle = self.panel_digest(main)
        self.desktop.key("space")
        self.desktop.wait_for(lambda: self.panel_digest(main) != idle, 20,
                              "the picture in the preview panel")
        time.sleep(1.0)
        self.desktop.key("space")
        time.sleep(1.0)
        paused = self.panel_digest(main)
        time.sleep(1.0)
        if self.panel_digest(main) != paused:
            raise dt.StepFailed("the preview runs on after the second Space")
        self.shot("paused")

        self.step("trim from 1 s to 4 s with the position bar's keys and the mark buttons")
        self.tab(LIST_TO_POSITION_BAR)
        self.desktop.key("Home")
        self.desktop.key("Right")
        time.sleep(0.5)
        self.tab()                       # set start
        self.desktop.key("Return")
        self.desktop.key("shift+Tab")    # back on the position bar
        for _ in range(3):
            self.desktop.key("Right")
        time.sleep(0.5)
        self.tab(2)                      # set end
        self.desktop.key("Return")
        time.sleep(0.5)
        self.shot("trimmed")

        self.step("open the profile editor and leave it with Escape")
        self.tab()                       # the profile box
        self.desktop.key("space")
        time.sleep(0.5)
        self.desktop.key("Home")
        self.desktop.key("Down")
        self.desktop.key("Down")
        self.desktop.key("Return")
        time.sleep(0.3)
        self.tab()                       # Edit
        self.desktop.key("Return")
        editor = dt.wait_window_of_size(self.desktop, 480, 366, 20)
        time.sleep(0.5)
        self.shot("editor")
        self.desktop.key("Escape")
        self.desktop.wait_for(lambda: editor not in dt.visible_windows(self.desktop), 20,
                              "the editor to close")

        self.step("keep the shape and convert")
        time.sleep(0.5)
        self.tab()                       # keep the shape
        self.desktop.key("space")
        self.tab()                       # Convert
        self.shot("profile-chosen")
        self.desktop.key("Return")
        progress = dt.wait_window_of_size(self.desktop, 546, 346, 20)
        time.sleep(1.0)
        self.desktop.key("Return")       # Start has the window's first focus
        self.desktop.wait_for(lambda: len(self.outputs()) == 1 and not self.partials(), 240,
                              "the converted file")
        time.sleep(2.0)
        self.shot("converted")

        self.step("Escape closes the progress window; Close and Exit by Tab and Return")
        self.desktop.key("Escape")
        self.desktop.wait_for(lambda: progress not in dt.visible_windows(self.desktop), 20,
                              "the progress window to close")
        time.sleep(0.5)
        self.tab(CONVERT_TO_CLOSE)
        self.shot("main-close-focused")
        self.desktop.key("Return")
        chooser = self.desktop.wait_window(CHOOSER, 20)
        time.sleep(0.5)
        self.tab(MP4_TO_EXIT)
        self.shot("chooser-exit-focused")
        self.desktop.key("Return")
        status = self.program.wait(60)
        if status != 0:
            raise dt.StepFailed(f"the program ended with status {status}")

        self.step("check the file")
        self.check_output()

    def check_output(self):
        files = self.outputs()
        if len(files) != 1:
            raise dt.StepFailed(f"{len(files)} output files: {files}")
        info = media.probe(files[0])
        video = media.stream(info, "video")
        if video is None or (int(video["width"]), int(video["height"])) != (640, 480):
            raise dt.StepFailed(f"not the chosen 640x480 profile: {video}")
        duration = float(info["format"]["duration"])
        if not 2.85 <= duration <= 3.15:
            raise dt.StepFailed(f"the clip lasts {duration} s, not the 3 s marked")
        with open(self.program.settings_file, encoding="utf-8") as handle:
            if "KeepRatio=1" not in handle.read().replace(" ", ""):
                raise dt.StepFailed("Aspect was not kept")


if __name__ == "__main__":
    sys.exit(run_journey(KeyboardJourney, sys.argv))
