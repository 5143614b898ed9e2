"""What every journey shares: a virtual desktop, a copy of the program folder with a fresh home,
the skin's control positions, named steps with screenshots, and reading the main window's
screen."""

import glob
import os
import tempfile
import time

import desktop as dt
import media
from program import Program

CHOOSER = "Dero Video Converter"
MAIN = "Derobox Converter"
ITEM_PITCH, ITEM_TOP, ITEM_LEFT, ITEM_WIDTH, ITEM_HEIGHT = 66, 2, 2, 388, 64
PANEL = (421, 68, 300, 224)  # the preview panel, fixed by the main window's form


class Journey:
    def __init__(self, bin_dir, out_dir, window_manager=False, screen=(1280, 1024)):
        self.out_dir = out_dir
        self.work = tempfile.mkdtemp(prefix="dero-journey-")
        self.desktop = dt.Desktop(os.path.join(out_dir, "screenshots"), *screen,
                                  window_manager=window_manager)
        self.program = Program(bin_dir, self.work, self.desktop)
        self.skin = dt.Skin(os.path.join(self.program.folder, "Skin", "Skin.ini"))
        self.step_name = "set-up"

    def step(self, name):
        self.step_name = name
        print(f"step: {name}", flush=True)

    def shot(self, name):
        return self.desktop.screenshot(name)

    def click(self, window, section, key):
        self.desktop.click_control(window, self.skin, section, key)

    # ---- the screens ----------------------------------------------------------------------

    def list_item_centre(self, main, index):
        left, top = self.desktop.origin(main)
        list_left, list_top, _, _ = self.skin.bounds("MainWindow", "TP_ImageList")
        return (left + list_left + ITEM_LEFT + ITEM_WIDTH // 2,
                top + list_top + ITEM_TOP + index * ITEM_PITCH + ITEM_HEIGHT // 2)

    def item_shows(self, main, index):
        x, y = self.list_item_centre(main, index)
        return self.desktop.pixel_colours(x - ITEM_WIDTH // 2, y - ITEM_HEIGHT // 2 + 4,
                                          ITEM_WIDTH, ITEM_HEIGHT - 8) > 40

    def panel_digest(self, main):
        left, top = self.desktop.origin(main)
        x, y, w, h = PANEL
        return dt.region_digest(self.desktop, left + x + 20, top + y + 20, w - 40, h - 40)

    def add_files_through_dialog(self, main, folder, paths):
        before = set(dt.visible_windows(self.desktop))
        self.click(main, "MainWindow", "TB_AddFile")
        self.desktop.wait_for(lambda: set(dt.visible_windows(self.desktop)) - before, 20,
                              "the file dialog")
        time.sleep(1.0)
        self.shot("file-dialog")
        # Whole paths, since the dialog opens where the last add left it, which need not be this
        # folder: one name typed plainly, as a user does (the next click in the main window must
        # still count), several in the dialog's quoted form.
        self.desktop.key("ctrl+a")
        names = [os.path.join(folder, os.path.basename(path)) for path in paths]
        names = names[0] if len(names) == 1 else " ".join(f'"{name}"' for name in names)
        self.desktop.type_text(names)
        time.sleep(0.3)
        self.shot("file-dialog-names")
        self.desktop.key("Return")

    def add_files_by_selection(self, main, folder):
        """Opens the dialog, goes to folder by typing its path, moves into the list and opens
        every file listed there: the entries themselves are added, whatever their names."""
        before = set(dt.visible_windows(self.desktop))
        self.click(main, "MainWindow", "TB_AddFile")
        self.desktop.wait_for(lambda: set(dt.visible_windows(self.desktop)) - before, 20,
                              "the file dialog")
        time.sleep(1.0)
        self.desktop.key("ctrl+a")
        self.desktop.type_text(folder)
        self.desktop.key("Return")
        time.sleep(0.5)
        for _ in range(4):  # name field, type box, Open, Cancel, the list
            self.desktop.key("Tab")
        self.desktop.key("ctrl+a")
        time.sleep(0.3)
        self.shot("file-dialog-selection")
        self.desktop.key("Return")

    def outputs(self):
        return sorted(glob.glob(os.path.join(self.program.output_folder, "*.MP4")))

    def partials(self):
        return [name for name in os.listdir(self.program.output_folder)
                if not name.endswith(".MP4")] if os.path.isdir(self.program.output_folder) \
            else ["none yet"]



def run_journey(journey_class, argv):
    """argv: BIN_DIR OUTPUT_DIR [--window-manager]"""
    bin_dir, out_dir = argv[1], argv[2]
    journey = journey_class(bin_dir, out_dir, window_manager="--window-manager" in argv[3:])
    try:
        journey.run()
    except Exception as error:  # every failure names its step and its last screenshot
        shot = journey.shot("failed")
        print(f"FAILED at step '{journey.step_name}': {error}\nscreenshot: {shot}")
        print("program output:\n" + journey.program.log_text())
        journey.program.kill()
        return 1
    finally:
        journey.desktop.close()
    print("journey passed; screenshots in", journey.desktop.shots_dir)
    return 0


def answer_boxes(journey, titles=("Information", "Error", "Confirm"), quiet_seconds=2.0,
                 limit_seconds=60):
    """Answers every message box that comes up (Return), until none has come for a while; the
    titles of the boxes answered, each with its screenshot."""
    answered = []
    deadline = time.monotonic() + limit_seconds
    last_seen = time.monotonic()
    while time.monotonic() < deadline and time.monotonic() - last_seen < quiet_seconds:
        for title in titles:
            window = journey.desktop.window(title)
            if window is None:
                continue
            journey.shot("box-" + title.lower())
            journey.desktop._run(["xdotool", "windowactivate", "--sync", window], check=False)
            journey.desktop.key("Return")
            answered.append(title)
            last_seen = time.monotonic()
        time.sleep(0.2)
    return answered
