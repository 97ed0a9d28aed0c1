"""A private X display with an accessibility bus, and the editor running in it.

Everything here drives the program from outside, as a person would: the X
server shows its windows, xdotool moves the pointer and types, and the
accessibility tree (AT-SPI) tells where the widgets are and what they say.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

from . import a11y

SCREEN = (1280, 1024)
# xdotool sleeps 100 ms after a click unless told otherwise.
CLICK = ("click", "--delay", "0", "1")


def _free_display():
    for number in range(91, 400):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(
            f"/tmp/.X11-unix/X{number}"
        ):
            return number
    raise RuntimeError("no free X display number")


class Desktop:
    """Xvfb plus the AT-SPI bus; lives for one group of scenarios."""

    def __init__(self):
        self.xvfb = None
        self.bus = None
        for _attempt in range(5):
            self.number = _free_display()
            self.display = f":{self.number}"
            self.xvfb = subprocess.Popen(
                ["Xvfb", self.display, "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
                 "-nolisten", "tcp", "-noreset"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if self._wait_for_socket():
                break
            self.xvfb.kill()
            self.xvfb.wait()
        else:
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = self.display
        self.bus = subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def _wait_for_socket(self):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.xvfb.poll() is not None:
                return False
            if os.path.exists(f"/tmp/.X11-unix/X{self.number}"):
                return True
            time.sleep(0.05)
        return False

    def close(self):
        for process in (self.bus, self.xvfb):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    # --- input -----------------------------------------------------------

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], check=True,
                              capture_output=True, text=True).stdout

    def move(self, x, y):
        # No --sync: it waits for a motion that never comes when the
        # pointer already stands there. The X server handles the warp before
        # any later request of ours, since xdotool syncs as it closes.
        self.xdotool("mousemove", int(x), int(y))

    def click(self, x, y):
        self.xdotool("mousemove", int(x), int(y), *CLICK)

    def key(self, *keys):
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.05)

    def type_text(self, text):
        self.xdotool("type", "--delay", "5", text)

    # --- screen ----------------------------------------------------------

    def screenshot(self, path):
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                       check=True, capture_output=True)

    def grab(self):
        """The whole screen as a Picture (raw RGB)."""
        raw = subprocess.run(
            ["import", "-display", self.display, "-window", "root", "-depth", "8", "rgb:-"],
            check=True, capture_output=True).stdout
        return Picture(raw, *SCREEN)


class Picture:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def pixel(self, x, y):
        offset = (int(y) * self.width + int(x)) * 3
        return tuple(self.raw[offset:offset + 3])

    def crop_digest(self, x, y, w, h):
        rows = []
        for row in range(int(y), int(y + h)):
            start = (row * self.width + int(x)) * 3
            rows.append(self.raw[start:start + int(w) * 3])
        return hash(b"".join(rows))


class Program:
    """One run of the editor from its own fresh program folder."""

    def __init__(self, desktop, folder, home):
        self.desktop = desktop
        self.folder = Path(folder)
        env = dict(os.environ)
        env.update({
            "DISPLAY": desktop.display,
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "HOME": str(home),
            "XDG_CONFIG_HOME": str(Path(home) / ".config"),
            "XDG_RUNTIME_DIR": str(Path(home) / "runtime"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        (Path(home) / "runtime").mkdir(mode=0o700, parents=True, exist_ok=True)
        self.log = open(Path(home) / "delvard.log", "wb")
        self.process = subprocess.Popen([str(self.folder / "delvard")], cwd=str(home), env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.pid = self.process.pid
        self.app = a11y.wait_for(lambda: a11y.application_of(self.pid), 20,
                                 "the program on the accessibility bus")

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def rss_kib(self):
        with open(f"/proc/{self.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0

    def kill(self):
        if self.running():
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
        self.log.close()


def fresh_program_folder(delvard, parent, name="program"):
    """Copies the executable and its ReadMe.txt into a folder of their own."""
    folder = Path(parent) / name
    folder.mkdir(parents=True, exist_ok=True)
    shutil.copy2(delvard, folder / "delvard")
    shutil.copy2(Path(delvard).parent / "ReadMe.txt", folder / "ReadMe.txt")
    return folder


def scratch(prefix):
    return Path(tempfile.mkdtemp(prefix=f"delvard-e2e-{prefix}-"))
