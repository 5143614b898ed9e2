#!/usr/bin/env python3
"""The progress window under a window manager: it stays above the main window while its output
folder dialog is open, even when the user clicks the main window; Start and Stop lie apart, so a
Stop that comes just after a short run ended starts nothing and writes no numbered duplicate.
Usage: journey_progress.py BIN_DIR OUTPUT_DIR [--window-manager]"""

import os
import sys
import time

import desktop as dt
import media
from journeybase import CHOOSER, MAIN, Journey, answer_boxes, run_journey

FOLDER_DIALOG = 'Please select "Output Folder" :'


def overlap(first, second):
    left1, top1, width1, height1 = first
    left2, top2, width2, height2 = second
    return left1 < left2 + width2 and left2 < left1 + width1 and \
        top1 < top2 + height2 and top2 < top1 + height1


class ProgressJourney(Journey):
    def geometry(self, window):
        left, top = self.desktop.origin(window)
        return (left, top, *dt.window_size(self.desktop, window))

    def screen_bounds(self, window, key):
        left, top = self.desktop.origin(window)
        x, y, width, height = self.skin.bounds("ProgressWindow", key)
        return left + x, top + y, width, height

    def digest(self, bounds):
        return dt.region_digest(self.desktop, *bounds)

    def order(self, windows):
        """The stacking places of the windows, bottom first; a window not managed is -1."""
        stack = self.desktop.stacking()
        return [stack.index(int(window)) if int(window) in stack else -1 for window in windows]

    def check_above(self, what, lower, upper):
        below, above = self.order([lower, upper])
        if below < 0 or above < 0 or above < below:
            raise dt.StepFailed(f"{what}: stacking {below} / {above} "
                                f"(managed bottom to top: {self.desktop.stacking()})")

    def check_transient(self, what, window, owner):
        """The window manager keeps a window above the one it is transient for."""
        text = self.desktop.output(["xprop", "-id", window, "WM_TRANSIENT_FOR"])
        words = text.split()
        target = int(words[-1], 16) if words and words[-1].startswith("0x") else None
        if target != int(owner):
            raise dt.StepFailed(f"{what}: WM_TRANSIENT_FOR is {text.strip()!r}, "
                                f"not the window {hex(int(owner))}")

    def bare_spot_of(self, main, covering):
        """A point of the main window that no other window covers."""
        left, top, width, height = self.geometry(main)
        for y in range(top + 10, top + height - 10, 20):
            for x in range(left + 10, left + width - 10, 20):
                if not any(overlap((x, y, 1, 1), self.geometry(window)) for window in covering):
                    return x, y
        raise dt.StepFailed("the main window is covered everywhere")

    def run(self):
        dt.require_tools()
        self.step("make a short clip")
        folder = os.path.join(self.work, "clips")
        os.makedirs(folder)
        clip = os.path.join(folder, "short.mp4")
        # Long enough that the run is seen under way, short enough to end soon.
        media.make_clip(clip, 1280, 720, 20)

        self.step("start, choose the MP4 family and add the clip")
        self.program.start()
        chooser = self.desktop.wait_window(CHOOSER, 60)
        self.click(chooser, "SelectWindow", "TB_MP4")
        main = self.desktop.wait_window(MAIN, 20)
        self.add_files_through_dialog(main, folder, [clip])
        self.desktop.wait_for(lambda: self.item_shows(main, 0), 60, "the clip in the list")

        self.step("the progress window: Start and Stop lie apart")
        self.click(main, "MainWindow", "TB_Convert")
        dt.wait_window_of_size(self.desktop, 546, 346, 20)
        # By its title: under a window manager a window of that size may also be its frame.
        progress = self.desktop.wait_window("ProgressWindow", 20)
        time.sleep(0.5)
        start = self.screen_bounds(progress, "TB_Start")
        stop = self.screen_bounds(progress, "TB_Stop")
        if overlap(start, stop):
            raise dt.StepFailed(f"Start {start} and Stop {stop} overlap")
        self.shot("progress-window")

        self.step("Browse: the folder dialog above the progress window, that above the main window")
        self.check_above("the progress window over the main window", main, progress)
        self.check_transient("the progress window", progress, main)
        self.click(progress, "ProgressWindow", "TB_Browse")
        dialog = self.desktop.wait_window(FOLDER_DIALOG, 20)
        time.sleep(1.0)
        self.check_transient("the folder dialog", dialog, progress)
        self.check_above("the progress window over the main window", main, progress)
        self.check_above("the folder dialog over the progress window", progress, dialog)
        # A click on the main window, as a user looking for it does: the window manager raises
        # it, and the windows that belong to it with it.
        self.desktop.click_at(*self.bare_spot_of(main, [progress, dialog]))
        time.sleep(1.0)
        self.shot("browse-after-main-clicked")
        self.check_above("the progress window over the clicked main window", main, progress)
        self.check_above("the folder dialog over the progress window", progress, dialog)
        self.desktop._run(["xdotool", "windowactivate", "--sync", dialog], check=False)
        self.desktop.key("Escape")
        self.desktop.wait_window_gone(FOLDER_DIALOG, 20)
        time.sleep(1.0)
        self.shot("browse-closed")
        # The window manager hands the focus back as the dialog goes; the main window must not
        # come up over the progress window with it.
        self.check_above("the progress window over the main window once Browse closed", main,
                         progress)

        self.step("a short run; Stop clicked just after its end starts nothing")
        self.click(progress, "ProgressWindow", "TB_Start")
        # The user's hand goes to Stop and waits there.
        self.desktop.move_to(stop[0] + stop[2] // 2, stop[1] + stop[3] // 2)
        time.sleep(0.3)
        hidden_start = self.digest(start)
        if self.outputs():
            raise dt.StepFailed("the run ended before it could be seen under way")
        self.shot("converting")
        self.desktop.wait_for(lambda: self.outputs() and self.digest(start) != hidden_start, 180,
                              "the end of the run")
        self.desktop._run(["xdotool", "click", "1"])
        time.sleep(3.0)
        self.shot("stop-clicked-after-the-end")
        boxes = answer_boxes(self, quiet_seconds=1.0)
        if boxes:
            raise dt.StepFailed(f"a clean run ended with boxes: {boxes}")
        if self.digest(start) == hidden_start:
            raise dt.StepFailed("Start is hidden: a second run began")
        names = sorted(os.listdir(self.program.output_folder))
        if names != ["short.MP4"]:
            raise dt.StepFailed(f"the output folder holds {names}, not one short.MP4")

        self.step("close everything")
        self.click(progress, "ProgressWindow", "TB_Close")
        self.click(main, "MainWindow", "TB_Close")
        chooser = self.desktop.wait_window(CHOOSER, 20)
        self.click(chooser, "SelectWindow", "TB_Exit")
        status = self.program.wait(60)
        if status != 0:
            raise dt.StepFailed(f"the program ended with status {status}")


if __name__ == "__main__":
    sys.exit(run_journey(ProgressJourney, sys.argv))
