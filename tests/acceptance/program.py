"""The real program, started from a copy of its program folder with a fresh home."""

import os
import shutil
import subprocess


class Program:
    def __init__(self, bin_dir, work_dir, desktop):
        self.folder = os.path.join(work_dir, "program") + "/"
        shutil.copytree(bin_dir, self.folder, symlinks=True,
                        ignore=shutil.ignore_patterns("Snapshot", "*.log"))
        self.home = os.path.join(work_dir, "home")
        runtime = os.path.join(work_dir, "runtime")
        os.makedirs(self.home, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env = dict(desktop.env, HOME=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                        XDG_DATA_HOME=os.path.join(self.home, ".local/share"),
                        XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                        XDG_RUNTIME_DIR=runtime)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.log_path = os.path.join(work_dir, "program.log")
        self.process = None
        self.skin = None

    @property
    def executable(self):
        return os.path.join(self.folder, "dero-video-converter")

    @property
    def output_folder(self):
        return os.path.join(self.home, "DeroOutput")

    @property
    def settings_file(self):
        return os.path.join(self.home, ".config", "Derobox", "Derobox.ini")

    @property
    def snapshot_folder(self):
        return os.path.join(self.folder, "Snapshot")

    def start(self):
        self.log = open(self.log_path, "ab")
        self.process = subprocess.Popen([self.executable], cwd=self.folder, env=self.env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        return self.process

    def run_second_copy(self, timeout=20):
        """Starts another copy beside the running one; its exit status."""
        return subprocess.run([self.executable], cwd=self.folder, env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode

    def wait(self, timeout=60):
        try:
            return self.process.wait(timeout)
        finally:
            self.log.close()

    def kill(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(10)

    def log_text(self):
        try:
            with open(self.log_path, errors="replace") as handle:
                return handle.read()
        except OSError:
            return ""
