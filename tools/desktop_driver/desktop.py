"""A private X display with an accessibility bus, and the editor running in it."""

import os
import shutil
import signal
import subprocess
import tempfile
from pathlib import Path

from . import a11y, screen

SCREEN = (1280, 1024)
CLICK = screen.CLICK  # for callers that send many clicks in one xdotool call


class Desktop(screen.Screen):
    """Xvfb plus the AT-SPI bus; lives for one group of scenarios."""

    def __init__(self):
        super().__init__(*SCREEN)
        self.bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:  # a program started before the bus answers would never join it
            a11y.wait_for(lambda: "unix:" in subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                 "org.a11y.Bus.GetAddress"], capture_output=True, text=True).stdout, 60, "the accessibility bus")
        except a11y.Timeout:
            self.close()
            raise

    def close(self):
        self.bus.terminate()
        try:
            self.bus.wait(10)
        except subprocess.TimeoutExpired:
            self.bus.kill()
        super().close()


class Program:
    """One run of the editor from its own program folder."""

    def __init__(self, desktop, folder, home):
        env = dict(os.environ, DISPLAY=desktop.display, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=str(home), LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   XDG_CONFIG_HOME=str(Path(home) / ".config"), XDG_RUNTIME_DIR=str(Path(home) / "runtime"))
        (Path(home) / "runtime").mkdir(mode=0o700, parents=True, exist_ok=True)
        self.log = open(Path(home) / "delvard.log", "wb")
        self.process = subprocess.Popen([str(Path(folder) / "delvard")], cwd=str(home), env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        self.pid = self.process.pid
        try:
            self.app = a11y.wait_for(lambda: a11y.application_of(self.pid), 20, "the program on the accessibility bus")
        except BaseException:
            # Nobody holds this run to end it later; left alone it would
            # outlive its display.
            self.kill()
            raise

    def wait_exit(self, timeout=10):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.process.poll() is None:
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
