#!/usr/bin/env python3
"""A user composes a profile of their own: pick the 3GP family, choose "Add my profile...",
name the profile and pick a small frame and mono sound in the editor, save it, find it chosen
in the profile list, change it through the edit button, and convert a clip with it.
Usage: journey_profile.py BIN_DIR OUTPUT_DIR"""

import configparser
import glob
import os
import sys
import time

import desktop as dt
import media
from journeybase import CHOOSER, MAIN, Journey, run_journey

EDITOR_SIZE = (480, 366)
PROFILE_BOX = (24 + 240, 358 + 10)  # the main window's profile list, fixed by its form
NAME = "Journey Phone"


class ProfileJourney(Journey):
    def profile_section(self):
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str.lower
        with open(os.path.join(self.program.folder, "Output.dll"), encoding="utf-8") as handle:
            parser.read_string(handle.read())
        return parser["3gp"]

    def open_profile_box_entry(self, main, last):
        left, top = self.desktop.origin(main)
        self.desktop.click_at(left + PROFILE_BOX[0], top + PROFILE_BOX[1])
        time.sleep(0.5)
        self.desktop.key("End" if last else "Home")
        self.desktop.key("Return")

    def compose_in_editor(self, editor):
        """From the name field on, in tab order: the smallest frame, 96 kbps, mono."""
        self.desktop.key("ctrl+a")
        self.desktop.type_text(NAME)
        self.desktop.key("Tab")
        self.desktop.key("Home")  # 128x96
        self.desktop.key("Tab")
        self.desktop.key("ctrl+a")
        self.desktop.type_text("96")
        self.desktop.key("Tab")
        self.desktop.key("Tab")
        self.desktop.key("Home")  # 1 Channel Mono
        self.shot("editor-composed")
        self.click(editor, "ProfileWindow", "TB_Ok")

    def run(self):
        dt.require_tools()
        self.step("make a clip")
        folder = os.path.join(self.work, "clips")
        os.makedirs(folder)
        # Quoting and pattern characters, and Latin-1 bytes that are no UTF-8 (one of them no
        # letter in any code page): a name that only a selection in the dialog's list can add.
        clip = os.path.join(folder, os.fsdecode(b'party "1" *caf\xe9\xff?.mp4'))
        media.make_clip(clip, 320, 240, 3)

        self.step("start and choose the 3GP family")
        self.program.start()
        chooser = self.desktop.wait_window(CHOOSER, 60)
        time.sleep(0.5)
        self.click(chooser, "SelectWindow", "TB_3GP")
        main = self.desktop.wait_window(MAIN, 20)
        time.sleep(0.5)
        count = int(self.profile_section()["profilecount"])

        self.step("choose Add my profile... and the editor opens")
        self.open_profile_box_entry(main, last=True)
        editor = dt.wait_window_of_size(self.desktop, *EDITOR_SIZE, 20)
        time.sleep(0.5)
        self.shot("editor-new")

        self.step("compose and save the profile")
        self.compose_in_editor(editor)
        self.desktop.wait_for(lambda: f"profile{count}" in self.profile_section(), 20,
                              "the new profile in the profile file")
        time.sleep(0.8)
        self.shot("main-with-new-profile")
        section = self.profile_section()
        line = section.get(f"profile{count}", "")
        expected = f"{NAME} : Video: 128x96, 96 kbps, "
        if not line.startswith(expected) or not line.endswith(" khps, 1 Channel Mono"):
            raise dt.StepFailed(f"Profile{count} reads '{line}'")
        if int(section["profilecount"]) != count + 1:
            raise dt.StepFailed(f"ProfileCount is {section['profilecount']}, not {count + 1}")

        self.step("the edit button shows the new profile, its name read-only")
        self.click(main, "MainWindow", "TB_Edit")
        editor = dt.wait_window_of_size(self.desktop, *EDITOR_SIZE, 20)
        time.sleep(0.5)
        self.shot("editor-change")
        self.click(editor, "ProfileWindow", "TB_Cancel")
        time.sleep(0.5)
        if self.profile_section().get(f"profile{count}") != line:
            raise dt.StepFailed("cancelling the editor changed the profile")

        self.step("add the clip by selecting it in the dialog's list")
        self.add_files_by_selection(main, folder)
        self.desktop.wait_for(lambda: self.item_shows(main, 0), 60, "the clip in the list")
        self.shot("odd-name-added")

        self.step("convert the clip with the new profile")
        self.click(main, "MainWindow", "TB_Convert")
        progress = dt.wait_window_of_size(self.desktop, 546, 346, 20)
        time.sleep(0.5)
        self.click(progress, "ProgressWindow", "TB_Start")
        outputs = lambda: glob.glob(os.path.join(self.program.output_folder, "*.3gp"))
        self.desktop.wait_for(lambda: len(outputs()) == 1, 120, "the converted file")
        time.sleep(2.0)
        self.shot("converted")
        self.click(progress, "ProgressWindow", "TB_Close")
        time.sleep(0.5)
        self.click(main, "MainWindow", "TB_Close")
        chooser = self.desktop.wait_window(CHOOSER, 20)
        self.click(chooser, "SelectWindow", "TB_Exit")
        self.program.wait(60)

        self.step("check the file")
        info = media.probe(outputs()[0])
        video, audio = media.stream(info, "video"), media.stream(info, "audio")
        if (int(video["width"]), int(video["height"])) != (128, 96):
            raise dt.StepFailed(f"size {video['width']}x{video['height']}")
        if audio is None or int(audio["channels"]) != 1:
            raise dt.StepFailed(f"audio {audio and audio['channels']} channels, not mono")


if __name__ == "__main__":
    sys.exit(run_journey(ProfileJourney, sys.argv))
