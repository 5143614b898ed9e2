#!/usr/bin/env python3
"""A new user's journey: pick the MP4 family, add three clips through the file dialog, trim the
second while watching it, choose a profile, keep the picture's shape, convert, and find playable
files. Usage: journey_convert.py BIN_DIR OUTPUT_DIR"""

import os
import sys
import time

import desktop as dt
import media
from journeybase import CHOOSER, MAIN, Journey, run_journey


class ConvertJourney(Journey):
    def make_clips(self):
        folder = os.path.join(self.work, "my clips")
        os.makedirs(folder)
        self.clips = [os.path.join(folder, "holiday.mp4"),
                      os.path.join(folder, "Wide shot été menú.mp4"),
                      os.path.join(folder, "short.avi")]
        media.make_clip(self.clips[0], 320, 240, 4)
        media.make_clip(self.clips[1], 640, 360, 8)
        media.make_clip(self.clips[2], 352, 288, 3)
        return folder

    def run(self):
        dt.require_tools()
        self.step("make the clips")
        folder = self.make_clips()

        self.step("start: the device chooser appears")
        self.program.start()
        chooser = self.desktop.wait_window(CHOOSER, 60)
        time.sleep(0.5)
        self.shot("chooser")

        self.step("choose the MP4 family")
        left, top = self.desktop.origin(chooser)
        x, y = self.skin.centre("SelectWindow", "TB_MP4")
        self.desktop.move_to(left + x, top + y)
        self.shot("chooser-hover-mp4")
        self.click(chooser, "SelectWindow", "TB_MP4")
        main = self.desktop.wait_window(MAIN, 20)
        time.sleep(0.5)
        self.shot("main-window")

        self.step("add three clips through the file dialog")
        self.add_files_through_dialog(main, folder, self.clips)
        self.desktop.wait_for(lambda: all(self.item_shows(main, i) for i in range(3)), 60,
                              "three clips in the list")
        self.shot("three-clips")

        self.step("select the second clip and play it")
        self.desktop.click_at(*self.list_item_centre(main, 1))
        idle = self.panel_digest(main)
        self.click(main, "MainWindow", "TB_Play")
        self.desktop.wait_for(lambda: self.panel_digest(main) != idle, 20,
                              "the picture in the preview panel")
        first = self.panel_digest(main)
        self.desktop.wait_for(lambda: self.panel_digest(main) != first, 20,
                              "the picture to move")
        self.shot("playing")

        self.step("pause, mark start, play on, mark stop")
        time.sleep(1.2)
        self.click(main, "MainWindow", "TB_Pause")
        self.click(main, "MainWindow", "TB_Previous")
        self.click(main, "MainWindow", "TB_Play")
        time.sleep(3.2)
        self.click(main, "MainWindow", "TB_Next")
        self.click(main, "MainWindow", "TB_Stop")
        self.shot("trimmed")

        self.step("choose a profile with a 4:3 frame and keep the shape")
        left, top = self.desktop.origin(main)
        self.desktop.click_at(left + 24 + 240, top + 358 + 10)
        time.sleep(0.5)
        self.desktop.key("Home")
        self.desktop.key("Down")
        self.desktop.key("Down")
        self.desktop.key("Return")
        self.click(main, "MainWindow", "TB_AS_Keep")
        self.shot("profile-chosen")

        self.step("convert")
        self.click(main, "MainWindow", "TB_Convert")
        progress = dt.wait_window_of_size(self.desktop, 546, 346, 20)
        time.sleep(0.5)
        self.click(progress, "ProgressWindow", "TB_Start")
        time.sleep(1.0)
        self.shot("converting")
        self.desktop.wait_for(lambda: len(self.outputs()) == 3 and not self.partials(), 240,
                              "three converted files")
        time.sleep(2.0)
        self.shot("converted")

        self.step("close the progress window, the main window and the chooser")
        self.click(progress, "ProgressWindow", "TB_Close")
        time.sleep(0.5)
        self.click(main, "MainWindow", "TB_Close")
        chooser = self.desktop.wait_window(CHOOSER, 20)
        self.shot("back-to-chooser")
        self.click(chooser, "SelectWindow", "TB_Exit")
        status = self.program.wait(60)
        if status != 0:
            raise dt.StepFailed(f"the program ended with status {status}")

        self.step("check the files")
        self.check_outputs()

    def check_outputs(self):
        files = self.outputs()
        if len(files) != 3:
            raise dt.StepFailed(f"{len(files)} output files: {files}")
        for path in files:
            info = media.probe(path)
            video, audio = media.stream(info, "video"), media.stream(info, "audio")
            problems = []
            if "mp4" not in info["format"]["format_name"]:
                problems.append("container " + info["format"]["format_name"])
            if video is None or video["codec_name"] != "mpeg4" or \
                    "Simple" not in video.get("profile", ""):
                problems.append("video " + str(video and (video["codec_name"],
                                                          video.get("profile"))))
            if audio is None or audio["codec_name"] != "aac" or audio.get("profile") != "LC":
                problems.append("audio " + str(audio and (audio["codec_name"],
                                                          audio.get("profile"))))
            if video and (int(video["width"]), int(video["height"])) != (640, 480):
                problems.append(f"size {video['width']}x{video['height']}")
            if audio and (int(audio["sample_rate"]), int(audio["channels"])) != (44100, 2):
                problems.append(f"audio {audio['sample_rate']} Hz {audio['channels']} ch")
            if video and video["avg_frame_rate"] not in ("25/1", "25"):
                problems.append("rate " + video["avg_frame_rate"])
            if problems:
                raise dt.StepFailed(f"{os.path.basename(path)}: " + "; ".join(problems))

        wide = [path for path in files if "menú" in path]
        if len(wide) != 1:
            raise dt.StepFailed(f"the wide clip's file is missing: {files}")
        top, middle, bottom = media.bar_rows(wide[0])
        if not (top < 24 and bottom < 24 and middle > 40):
            raise dt.StepFailed(f"no letter-box bars on the wide clip: {top} {middle} {bottom}")
        duration = float(media.probe(wide[0])["format"]["duration"])
        # The marks were taken about 3.2 s of playback apart, each truncated to whole seconds.
        if not (2.85 <= duration <= 5.15) or abs(duration - round(duration)) > 0.15:
            raise dt.StepFailed(f"the trimmed clip lasts {duration} s, not its whole-second marks")

        with open(self.program.settings_file, encoding="utf-8") as handle:
            settings = handle.read()
        if "KeepRatio=1" not in settings.replace(" ", ""):
            raise dt.StepFailed("the settings file does not hold KeepRatio=1:\n" + settings)
        left = os.listdir(self.program.snapshot_folder) \
            if os.path.isdir(self.program.snapshot_folder) else []
        if left:
            raise dt.StepFailed(f"snapshots left behind: {left}")



if __name__ == "__main__":
    sys.exit(run_journey(ConvertJourney, sys.argv))
