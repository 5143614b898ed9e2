"""Drives the real program under a virtual X server, only through the screen: real mouse and
keyboard input with xdotool, window positions read back from the X server, control positions
read from the skin file the program itself uses."""

import configparser
import os
import select
import shutil
import subprocess
import tempfile
import time


class StepFailed(Exception):
    pass


class Skin:
    """The bounds of each control as the skin file gives them (fields 4 to 7)."""

    def __init__(self, path):
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str.lower
        with open(path, encoding="latin-1") as handle:
            parser.read_string(handle.read())
        self.parser = parser

    def bounds(self, section, key):
        value = self.parser.get(section, key.lower())
        fields = [field.strip() for field in value.split(",")]
        left, top, width, height = (int(fields[i]) for i in (3, 4, 5, 6))
        return left, top, width, height

    def centre(self, section, key):
        left, top, width, height = self.bounds(section, key)
        return left + width // 2, top + height // 2


class Desktop:
    """A virtual X server of its own and the input tools that act on it."""

    def __init__(self, shots_dir, width=1280, height=1024, window_manager=False):
        self.shots_dir = shots_dir
        os.makedirs(shots_dir, exist_ok=True)
        self.xvfb, self.display = self._start_server(width, height)
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.wait_for(lambda: self._run(["xdotool", "getmouselocation"], check=False) == 0,
                      10, "the virtual X server to start")
        self.shot_count = 0
        self.window_manager = None
        if window_manager:
            self._start_window_manager()

    def _start_window_manager(self):
        """openbox, so that stacking (always-on-top, transients, activation) is as on a real
        desktop; without one, every new window simply lands on top."""
        if shutil.which("openbox") is None:
            raise StepFailed("missing tool: openbox")
        config = tempfile.mkdtemp(prefix="dero-openbox-")
        log = open(os.path.join(self.shots_dir, "openbox.log"), "ab")
        # A window manager that loses the race for the new screen's first moments ends at once;
        # start it again rather than fail the journey over it.
        for _ in range(3):
            self.window_manager = subprocess.Popen(
                ["openbox", "--sm-disable"], env=dict(self.env, XDG_CONFIG_HOME=config),
                stdout=log, stderr=log)
            deadline = time.monotonic() + 20
            while time.monotonic() < deadline and self.window_manager.poll() is None:
                if "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.output(
                        ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]):
                    return
                time.sleep(0.1)
            if self.window_manager.poll() is None:
                break
        raise StepFailed("timed out waiting for openbox to manage the screen")

    @staticmethod
    def _start_server(width, height):
        """The server picks its own free display number and tells it through a pipe: journeys
        run side by side, and two of them choosing a number by looking would share one screen."""
        read_end, write_end = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        answer = b""
        deadline = time.monotonic() + 20
        with os.fdopen(read_end, "rb", buffering=0) as pipe:
            while not answer.endswith(b"\n") and time.monotonic() < deadline:
                ready, _, _ = select.select([pipe], [], [], 0.5)
                if ready:
                    chunk = pipe.read(16)
                    if not chunk:
                        break
                    answer += chunk
        if not answer.strip().isdigit():
            server.kill()
            raise StepFailed("the virtual X server did not start")
        return server, ":" + answer.strip().decode()

    def _run(self, arguments, check=True):
        result = subprocess.run(arguments, env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        if check and result.returncode != 0:
            raise StepFailed(f"{' '.join(arguments)} failed")
        self.last_output = result.stdout
        return result.returncode

    def output(self, arguments):
        self._run(arguments)
        return self.last_output

    def close(self):
        if self.window_manager is not None:
            self.window_manager.terminate()
            self.window_manager.wait(10)
        self.xvfb.terminate()
        self.xvfb.wait(10)

    @staticmethod
    def wait_for(condition, seconds, what):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.1)
        raise StepFailed(f"timed out waiting for {what}")

    def window(self, title):
        """The visible top-level window with exactly this title, or None."""
        if self._run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                     check=False) != 0:
            return None
        ids = self.last_output.split()
        return ids[0] if ids else None

    def wait_window(self, title, seconds=30):
        self.wait_for(lambda: self.window(title) is not None, seconds, f"window '{title}'")
        return self.window(title)

    def wait_window_gone(self, title, seconds=30):
        self.wait_for(lambda: self.window(title) is None, seconds, f"window '{title}' to go")

    def stacking(self):
        """The managed windows from bottom to top, as the window manager stacks them."""
        text = self.output(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"])
        if "#" not in text:
            return []
        return [int(word.strip(), 16) for word in text.split("#", 1)[1].split(",")]

    def origin(self, window):
        geometry = self.output(["xdotool", "getwindowgeometry", "--shell", window])
        values = dict(line.split("=", 1) for line in geometry.split())
        return int(values["X"]), int(values["Y"])

    def click_at(self, x, y, button=1):
        self.move_to(x, y)
        self._run(["xdotool", "click", str(button)])
        time.sleep(0.2)

    def move_to(self, x, y):
        # "mousemove --sync" waits for the pointer to move, so onto the spot where it already is
        # it would wait until something else moved it.
        location = self.output(["xdotool", "getmouselocation", "--shell"])
        if f"X={x}\n" in location and f"Y={y}\n" in location:
            return
        self._run(["xdotool", "mousemove", "--sync", str(x), str(y)])
        time.sleep(0.15)

    def click_control(self, window, skin, section, key):
        left, top = self.origin(window)
        x, y = skin.centre(section, key)
        self.click_at(left + x, top + y)

    def type_text(self, text):
        # A letter outside the keyboard map is typed through a key that xdotool maps for it and
        # maps back at once; typed in a quick run, the program may read the key after it was
        # mapped back and the letter is lost. Such letters go one at a time, slowly.
        run = ""
        for letter in text + "\0":
            if letter.isascii() and letter != "\0":
                run += letter
                continue
            if run:
                self._run(["xdotool", "type", "--delay", "20", run])
                run = ""
            if letter != "\0":
                self._run(["xdotool", "type", "--delay", "150", letter])
                time.sleep(0.3)

    def key(self, *names):
        self._run(["xdotool", "key", *names])
        time.sleep(0.2)

    def pixel_colours(self, x, y, width, height):
        """Distinct colours in a rectangle of the screen (a crude 'is a picture there')."""
        with tempfile.NamedTemporaryFile(suffix=".txt") as dump:
            self._run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                       "-depth", "8", "txt:" + dump.name])
            with open(dump.name) as handle:
                colours = {line.split()[2] for line in handle if not line.startswith("#")}
        return len(colours)

    def screenshot(self, name):
        self.shot_count += 1
        path = os.path.join(self.shots_dir, f"{self.shot_count:02d}-{name}.png")
        self._run(["import", "-window", "root", path], check=False)
        return path


def require_tools():
    missing = [tool for tool in ("Xvfb", "xdotool", "import", "ffprobe", "ffmpeg")
               if shutil.which(tool) is None]
    if missing:
        raise StepFailed("missing tools: " + ", ".join(missing))


def visible_windows(desktop):
    if desktop._run(["xdotool", "search", "--onlyvisible", "--name", ""], check=False) != 0:
        return []
    return desktop.last_output.split()


def window_size(desktop, window):
    geometry = desktop.output(["xdotool", "getwindowgeometry", "--shell", window])
    values = dict(line.split("=", 1) for line in geometry.split())
    return int(values["WIDTH"]), int(values["HEIGHT"])


def wait_window_of_size(desktop, width, height, seconds=30):
    found = []

    def look():
        for window in visible_windows(desktop):
            try:
                if window_size(desktop, window) == (width, height):
                    found.append(window)
                    return True
            except StepFailed:
                continue
        return False

    desktop.wait_for(look, seconds, f"a {width}x{height} window")
    return found[0]


def region_digest(desktop, x, y, width, height):
    """A digest of a rectangle of the screen, to see a picture change."""
    import hashlib
    with tempfile.NamedTemporaryFile(suffix=".rgb") as dump:
        desktop._run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                      "-depth", "8", "rgb:" + dump.name])
        with open(dump.name, "rb") as handle:
            return hashlib.sha1(handle.read()).hexdigest()
