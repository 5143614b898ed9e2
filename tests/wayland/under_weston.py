"""Runs a test program as a native Wayland client of a headless weston of its own.

    under_weston.py OUTPUT_DIR PROGRAM [ARGUMENTS...]

The compositor gets a private runtime folder and a socket named after this process, so checks
running side by side never meet. It draws its output in memory (pixman) on a plain background
with no panel, and offers its debug extension, which lets weston-screenshooter read the output
back. Its protocol traffic is logged, so the program can see what its windows told the
compositor. The program's own exit status is returned; 77 (a skip) only when weston cannot be
started at all."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
# A colour no skin picture uses, so every pixel of it in a screenshot is the compositor's own.
BACKGROUND = "204060"
OUTPUT_SIZE = (1280, 1024)

WESTON_INI = """[core]
idle-time=0

[shell]
background-color=0xff{background}
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
focus-animation=none
"""


def skip(reason):
    print("SKIP: " + reason, flush=True)
    sys.exit(SKIP)


def start_weston(runtime_dir, socket, output_dir):
    config = os.path.join(runtime_dir, "weston.ini")
    with open(config, "w", encoding="ascii") as handle:
        handle.write(WESTON_INI.format(background=BACKGROUND))
    log = os.path.join(output_dir, "weston.log")
    command = ["weston", "--backend=headless-backend.so", "--use-pixman",
               "--width=%d" % OUTPUT_SIZE[0], "--height=%d" % OUTPUT_SIZE[1],
               "--socket=" + socket, "--config=" + config, "--debug",
               "--log=" + log, "--logger-scopes=log,proto"]
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime_dir)
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("DISPLAY", None)
    output = open(os.path.join(output_dir, "weston.out"), "wb")
    weston = subprocess.Popen(command, env=env, stdout=output, stderr=subprocess.STDOUT)
    socket_path = os.path.join(runtime_dir, socket)
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        if weston.poll() is not None:
            skip("weston ended at start with status %d (see %s)" % (weston.returncode, log))
        if os.path.exists(socket_path) and shell_ready(log):
            return weston, log
        time.sleep(0.1)
    weston.kill()
    weston.wait()
    skip("weston did not open its socket within 20 s")


def shell_ready(log):
    """The desktop shell's client says when it has drawn the background; a screenshot taken
    before then would show no background to tell the windows' own pixels from."""
    try:
        with open(log, encoding="utf-8", errors="replace") as handle:
            return ".desktop_ready()" in handle.read()
    except OSError:
        return False


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    output_dir = os.path.abspath(sys.argv[1])
    program = sys.argv[2:]
    if shutil.which("weston") is None:
        skip("weston is not installed")
    os.makedirs(output_dir, exist_ok=True)
    runtime_dir = tempfile.mkdtemp(prefix="dero-weston-")
    os.chmod(runtime_dir, 0o700)
    socket = "dero-wayland-%d" % os.getpid()
    weston = None
    try:
        weston, log = start_weston(runtime_dir, socket, output_dir)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime_dir, WAYLAND_DISPLAY=socket,
                   QT_QPA_PLATFORM="wayland", DERO_WESTON_LOG=log,
                   DERO_WESTON_BACKGROUND=BACKGROUND, DERO_WAYLAND_OUTPUT=output_dir)
        # Nothing of the check may reach an X server by mistake.
        env.pop("DISPLAY", None)
        return subprocess.call(program, env=env)
    finally:
        if weston is not None and weston.poll() is None:
            weston.terminate()
            try:
                weston.wait(10)
            except subprocess.TimeoutExpired:
                weston.kill()
                weston.wait()
        shutil.rmtree(runtime_dir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
