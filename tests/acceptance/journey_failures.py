#!/usr/bin/env python3
"""The failure paths a user meets: a damaged file among the added ones is left out, a clip whose
file went away is reported and the others convert, a stop mid-run keeps the finished files and
removes the partial one, and a second start exits at once.
Usage: journey_failures.py BIN_DIR OUTPUT_DIR"""

import os
import sys
import time

import desktop as dt
import media
from journeybase import CHOOSER, MAIN, Journey, answer_boxes, run_journey


class FailuresJourney(Journey):
    def make_clips(self):
        folder = os.path.join(self.work, "clips")
        os.makedirs(folder)
        self.good = os.path.join(folder, "good.mp4")
        self.corrupt = os.path.join(folder, "corrupt.mp4")
        self.doomed = os.path.join(folder, "doomed.mp4")
        self.long = os.path.join(folder, "long.mp4")
        media.make_clip(self.good, 320, 240, 3)
        media.make_clip(self.doomed, 320, 240, 3)
        media.make_clip(self.long, 1280, 720, 90)
        with open(self.corrupt, "wb") as handle:
            handle.write(os.urandom(200000))
        return folder

    def output(self, base):
        return os.path.join(self.program.output_folder, base + ".MP4")

    def files_named(self, base):
        folder = self.program.output_folder
        return [name for name in os.listdir(folder) if base in name] \
            if os.path.isdir(folder) else []

    def run(self):
        dt.require_tools()
        self.step("make the clips")
        folder = self.make_clips()

        self.step("start and choose the PSP family")
        self.program.start()
        chooser = self.desktop.wait_window(CHOOSER, 60)
        status = self.program.run_second_copy()
        if status != 255:
            raise dt.StepFailed(f"a second copy ended with {status}, not -1")
        self.click(chooser, "SelectWindow", "TB_PSP")
        main = self.desktop.wait_window(MAIN, 20)

        self.step("add a good, a damaged and a doomed clip: the damaged one is left out")
        self.add_files_through_dialog(main, folder, [self.good, self.corrupt, self.doomed])
        self.desktop.wait_for(lambda: self.item_shows(main, 0) and self.item_shows(main, 1),
                              60, "two clips in the list")
        time.sleep(3.0)
        if self.item_shows(main, 2):
            raise dt.StepFailed("the damaged file became a clip")
        self.shot("damaged-left-out")

        self.step("the doomed clip's file goes away; the run reports it and converts the rest")
        os.remove(self.doomed)
        self.click(main, "MainWindow", "TB_Convert")
        progress = dt.wait_window_of_size(self.desktop, 546, 346, 20)
        self.click(progress, "ProgressWindow", "TB_Start")
        self.desktop.wait_for(lambda: os.path.exists(self.output("good")), 120,
                              "the good clip's file")
        boxes = answer_boxes(self, limit_seconds=120, quiet_seconds=4.0)
        if "Information" not in boxes:
            raise dt.StepFailed(f"no word about the failed clip (boxes: {boxes})")
        if self.files_named("doomed"):
            raise dt.StepFailed(f"a file for the missing clip: {self.files_named('doomed')}")
        self.click(progress, "ProgressWindow", "TB_Close")

        self.step("a stop mid-run keeps the finished files and removes the partial one")
        self.add_files_through_dialog(main, folder, [self.long])
        self.desktop.wait_for(lambda: self.item_shows(main, 2), 60, "the long clip")
        # One name typed and Enter: the very next click opens the progress window.
        self.click(main, "MainWindow", "TB_Convert")
        progress = dt.wait_window_of_size(self.desktop, 546, 346, 20)
        self.click(progress, "ProgressWindow", "TB_Start")
        # The clip is written under a hidden temporary name until it is finished.
        self.desktop.wait_for(lambda: self.files_named(".dero-"), 180, "the long clip to start")
        self.shot("long-clip-converting")
        # Stop takes the place of Start, under the pointer that has not moved since.
        self.click(progress, "ProgressWindow", "TB_Stop")
        answer_boxes(self, quiet_seconds=3.0)
        self.shot("stopped")
        if self.files_named("long"):
            raise dt.StepFailed(f"the partial file stayed: {self.files_named('long')}")
        finished = self.files_named("good")
        if len(finished) != 2:
            raise dt.StepFailed(f"finished files are not both there: {finished}")
        for name in finished:
            info = media.probe(os.path.join(self.program.output_folder, name))
            if media.stream(info, "video") is None:
                raise dt.StepFailed(f"{name} has no picture")

        self.step("close everything")
        self.click(progress, "ProgressWindow", "TB_Close")
        self.click(main, "MainWindow", "TB_Close")
        chooser = self.desktop.wait_window(CHOOSER, 20)
        self.click(chooser, "SelectWindow", "TB_Exit")
        status = self.program.wait(60)
        if status != 0:
            raise dt.StepFailed(f"the program ended with status {status}")


if __name__ == "__main__":
    sys.exit(run_journey(FailuresJourney, sys.argv))
