"""A private X server and what a person does on it: the pointer and the keys
through xdotool, the windows it shows, and pictures of it through
ImageMagick. Nothing here needs the accessibility bus, so programs that do
not speak AT-SPI (a Windows program under Wine) are driven the same way."""

import os
import re
import subprocess

from .xvfb import Xvfb

CLICK = ("click", "--delay", "0", "1")  # xdotool waits 100 ms after a click unless told


class Screen:
    """Xvfb of the given size; it becomes this process's DISPLAY."""

    # Milliseconds between typed keys. A screen reader listening takes each
    # key before the program does and needs a person's pace, 100 or more.
    typing_delay = 5

    def __init__(self, width, height):
        self.xvfb = Xvfb(width, height)
        self.display = self.xvfb.display
        self.size = self.xvfb.size
        os.environ["DISPLAY"] = self.display

    def close(self):
        self.xvfb.stop()

    def run(self, *command, check=True, text=True, timeout=60):
        return subprocess.run(list(map(str, command)), env=dict(os.environ, DISPLAY=self.display), check=check,
                              capture_output=True, text=text, timeout=timeout)

    def xdotool(self, *args, check=True):
        """xdotool's output; a failure raises unless check is False."""
        return self.run("xdotool", *args, check=check).stdout

    def move(self, x, y):
        self.xdotool("mousemove", int(x), int(y))

    def pointer(self):
        """(x, y) of the pointer on the screen."""
        values = dict(line.split("=", 1) for line in self.xdotool("getmouselocation", "--shell").splitlines()
                      if "=" in line)
        return int(values["X"]), int(values["Y"])

    def click(self, x, y):
        self.xdotool("mousemove", int(x), int(y), *CLICK)

    def key(self, *keys, delay=None):
        """Presses keys one after another, delay milliseconds apart."""
        self.xdotool("key", "--clearmodifiers", *(("--delay", delay) if delay is not None else ()), *keys)

    def type_text(self, text, delay=None):
        self.xdotool("type", "--delay", self.typing_delay if delay is None else delay, text)

    def focus(self, window):
        """Gives a window the keyboard; a window that is going away is left alone."""
        self.xdotool("windowfocus", "--sync", window, check=False)

    def unfocus(self):
        """Takes the keyboard from every window: the screen's root gets it."""
        root = re.search(r"Window id: (\d+)", self.run("xwininfo", "-root", "-int").stdout).group(1)
        self.xdotool("windowfocus", root, check=False)

    def screenshot(self, path):
        self.run("import", "-display", self.display, "-window", "root", path)

    # ---- windows, for programs that do not speak AT-SPI ---------------------

    def windows(self, *criteria):
        """Visible windows matching xdotool search criteria (--name, --class)."""
        return [int(word) for word in self.xdotool("search", "--onlyvisible", *criteria, check=False).split()
                if word.isdigit()]

    def window_name(self, window):
        return self.xdotool("getwindowname", window, check=False).strip()

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen, or None once it is gone."""
        out = self.xdotool("getwindowgeometry", "--shell", window, check=False)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        try:
            return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        except (KeyError, ValueError):
            return None

    def grab(self, box=None):
        """The screen, or a box (x, y, width, height) of it, as an Image."""
        crop = ["-crop", "{2}x{3}+{0}+{1}".format(*box), "+repage"] if box else []
        return Image.from_ppm(self.run("import", "-display", self.display, "-window", "root", *crop,
                                       "-depth", "8", "ppm:-", text=False).stdout)


class Image:
    """Pixels as RGB bytes, row by row."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels

    @staticmethod
    def from_ppm(data):
        fields, position = [], 0
        while len(fields) < 4:  # P6, width, height, maximum value; comments skipped
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position) + 1
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        position += 1
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError(f"not an 8-bit binary PPM: {b' '.join(fields)!r}")
        width, height = int(fields[1]), int(fields[2])
        return Image(width, height, data[position:position + width * height * 3])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def colours(self, limit=3):
        """How many different colours the image holds (every 7th pixel), counting at most limit."""
        seen = set()
        for i in range(0, len(self.pixels), 3 * 7):
            seen.add(self.pixels[i:i + 3])
            if len(seen) >= limit:
                break
        return len(seen)

    def crop(self, x, y, w, h):
        rows = [self.pixels[((y + r) * self.width + x) * 3:((y + r) * self.width + x + w) * 3] for r in range(h)]
        return Image(w, h, b"".join(rows))

    def black_run_start(self, min_run):
        """(x, y) where the topmost row holding min_run black pixels in a row starts."""
        needle = b"\x00\x00\x00" * min_run
        for y in range(self.height):
            row = self.pixels[y * self.width * 3:(y + 1) * self.width * 3]
            i = row.find(needle)
            while i != -1 and i % 3:
                i = row.find(needle, i + 1)
            if i != -1:
                return i // 3, y
        return None
