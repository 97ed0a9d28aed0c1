#!/usr/bin/env python3
"""Proves a Windows package of Delvard under Wine, in a private X server.

    tools/release/wine_smoke.py build/release/Delvard-2.0.0-win64.zip [--linux-build DIR]

1. Unzips the package into a fresh folder and makes a fresh Wine prefix.
2. delvard-map.exe: info, check, diff and render on the sample maps must give
   what the Linux delvard-map gives (DIR/bin/delvard-map; by default
   build/bin/delvard-map of this checkout): the same exit status, the same
   standard output and error once Windows line ends (CR LF) are read as LF
   and the file names the programs echo are written back with '/' for the
   '\\' that Windows shows, and PNG files with the same bytes.
3. delvard.exe, driven with xdotool (keys and clicks at places worked out
   from window geometry) and watched through screenshots. First run: the
   About box, then the folder chooser, then the main window; Delvard.ini
   written beside the program with the chosen folder; File > Open of the
   10 x 8 sample through Qt's file dialog; one click that places a Heart;
   File > Save, whose bytes are checked against bytes worked out here;
   Help > Read Me; File > Exit. Second run: the main window alone, and
   Delvard.ini left as it was.

Every wait polls for a condition until a generous time limit. The output says
what was seen at each step; the exit status is 0 only when every check held.
Screenshots go to build/release/wine-screenshots/ (or --screenshots).

The X server, the pointer, the keys and the pictures of the screen come from
tools/desktop_driver (its screen and its polling wait: a Windows program has
no AT-SPI tree to read), the expected map bytes from the end-to-end tests'
model of a map file (tests/e2e/delvard_e2e/mapbytes.py).
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

sys.dont_write_bytecode = True  # keep the source tree clean
ROOT = Path(__file__).resolve().parents[2]
sys.path[:0] = [str(ROOT / "tools"), str(ROOT / "tests" / "e2e")]  # desktop_driver, delvard_e2e
from delvard_e2e.mapbytes import ExpectedMap, wait_for_bytes  # noqa: E402
from desktop_driver import a11y  # noqa: E402
from desktop_driver.screen import Screen  # noqa: E402
from desktop_driver.xvfb import XvfbError  # noqa: E402

# The editor's geometry, in pixels (see the dialogs and the map window).
ABOUT_NAME = "Delvard"
ABOUT_SIZE = (492, 283)
ABOUT_OK = ((56, 137), (208, 241))  # x range, y range inside the box
CHOOSER_TITLE = "Get Map File Path"
CHOOSER_SIZE = (312, 299)
CHOOSER_OK = ((112, 193), (248, 281))
MAIN_TITLE = "Delvard Version {version}"
OPEN_TITLE = "Open"
CELL = 72  # pixels per cell at the start-up zoom
POLL = 0.25  # seconds between looks: each look runs xdotool or takes a picture

SMALL_SAMPLE = "small-10x8Map.kld"
CLICKED_CELL = (4, 5)  # row, column, from 1
START_TOOLS = ("Heart", "Hero")  # what a click paints before the palette is touched
HEART_REACH = 2  # the Heart block spans the clicked cell and two on each side


class SmokeFailure(AssertionError):
    """A check that did not hold."""


# What a failed step raises: a check, a wait that timed out (an
# AssertionError too), or a tool of the screen that failed.
FAILED_STEP = (AssertionError, subprocess.SubprocessError)


def step(text):
    print(f"\n== {text}", flush=True)


def saw(text):
    print(f"   {text}", flush=True)


def require(condition, text):
    if not condition:
        raise SmokeFailure(text)


def poll(what, condition, timeout, interval=POLL):
    """Calls condition() until it returns something true; returns that."""
    return a11y.wait_for(condition, timeout, what, interval)


# ---- screenshots ------------------------------------------------------------


class Shots:
    """Pictures of the screen at each step, into one folder."""

    def __init__(self, screen, folder):
        self.screen, self.folder, self.failure_taken = screen, folder, False

    def take(self, name):
        path = self.folder / name
        self.screen.screenshot(path)
        saw(f"screenshot {path}")
        return path

    def failure(self):
        """The screen as it was when a check failed; once per run."""
        if self.failure_taken:
            return
        self.failure_taken = True
        try:
            self.take("failure.png")
        except Exception as error:  # the X server may be gone as well
            print(f"(no failure screenshot: {error})")


# ---- Wine -------------------------------------------------------------------


def wine_tools():
    wine = shutil.which("wine") or shutil.which("wine64") or "/usr/lib/wine/wine64"
    server = shutil.which("wineserver") or "/usr/lib/wine/wineserver64"
    require(os.access(wine, os.X_OK), "Wine is not installed (Debian package wine64)")
    return wine, server


def windows_path(path):
    """How a program under Wine sees a Linux path: on drive Z:, with '\\'."""
    return "Z:" + str(path).replace("/", "\\")


# ---- delvard-map: Windows against Linux --------------------------------------


def run_program(command, cwd, env=None, timeout=300):
    result = subprocess.run(command, cwd=cwd, env=env, capture_output=True, timeout=timeout)
    return result.returncode, result.stdout, result.stderr


class OutputNormaliser:
    """Undoes the two differences a Windows program must show: CR LF line
    ends, and '\\' in the file names it echoes from its command line (also
    where a JSON string escapes it as '\\\\')."""

    def __init__(self):
        self.crlf = 0
        self.paths = 0

    def __call__(self, data, arguments):
        self.crlf += data.count(b"\r\n")
        data = data.replace(b"\r\n", b"\n")
        for argument in arguments:
            if "/" not in argument:
                continue
            # As written, and as a JSON string writes it ('\\' for '\').
            for native in (argument.replace("/", "\\"), argument.replace("/", "\\\\")):
                self.paths += data.count(native.encode())
                data = data.replace(native.encode(), argument.encode())
        return data


class Case:
    """One delvard-map command line, run on both sides and compared.

    windows_args: the same command as a Windows user types it, when that
    differs; pictures: files the command writes, compared byte for byte;
    binary: standard output is a picture, compared without any normalising."""

    def __init__(self, args, windows_args=None, pictures=(), binary=False):
        self.args = list(args)
        self.windows_args = list(windows_args) if windows_args else self.args
        self.pictures = list(pictures)
        self.binary = binary


NON_ASCII_SAMPLE = "Kärte-10x8Map.kld"


def cli_cases(samples):
    names = [f"samples/{s.name}" for s in samples]
    small = f"samples/{SMALL_SAMPLE}"
    cut, edited = "damaged/cut-10x8Map.kld", "damaged/edited-10x8Map.kld"
    cases = [Case(a) for a in (["--version"], ["--help"], [], ["frobnicate"], ["check", "--help"],
                                ["render", "--help"])]
    cases += [Case(["info", n]) for n in names]
    cases += [Case(["info", "--json", *names])]
    cases += [Case(["check", n]) for n in names]
    cases += [Case(["check", "--strict", *names])]
    cases += [Case(["check", cut]), Case(["info", edited]), Case(["check", edited])]
    cases += [Case(["diff", small, small]), Case(["diff", small, edited]),
              Case(["diff", small, "samples/heart-7x7Map.kld"]), Case(["diff", small, cut])]
    # Windows users write '\\' between folders, and file names beyond ASCII.
    cases += [Case(["info", small], windows_args=["info", small.replace("/", "\\")]),
              Case(["info", f"samples/{NON_ASCII_SAMPLE}"]),
              Case(["render", f"samples/{NON_ASCII_SAMPLE}", "Kärte.png"], pictures=["Kärte.png"])]
    for n in names:
        stem = Path(n).stem
        if "255x255" in n:
            for size in ("8", "72"):
                out = f"{stem}-{size}px.png"
                cases.append(Case(["render", n, out, "--cell-size", size], pictures=[out]))
        else:
            cases.append(Case(["render", n, f"{stem}.png"], pictures=[f"{stem}.png"]))
    cases.append(Case(["render", "--grid", "--cell-size", "72", small, "small-grid-72px.png"],
                      pictures=["small-grid-72px.png"]))
    # The picture on standard output, as a pipe takes it.
    cases.append(Case(["render", small, "-"], binary=True))
    return cases


def compare_cli(linux_tool, windows_tool, wine, wine_env, samples, work):
    step("delvard-map.exe against the Linux delvard-map")
    linux_dir, windows_dir = work / "cli-linux", work / "cli-windows"
    for side in (linux_dir, windows_dir):
        (side / "samples").mkdir(parents=True)
        (side / "damaged").mkdir()
        for sample in samples:
            shutil.copyfile(sample, side / "samples" / sample.name)
        small = (side / "samples" / SMALL_SAMPLE).read_bytes()
        (side / "samples" / NON_ASCII_SAMPLE).write_bytes(small)
        # As in docs/cli-examples.md: a cut file, and an edited copy with an
        # unknown terrain code and an unknown owner code.
        (side / "damaged" / "cut-10x8Map.kld").write_bytes(small[:200])
        edited = bytearray(small)
        edited[132] = 0x30
        edited[52:54] = b"\x03\x09"
        (side / "damaged" / "edited-10x8Map.kld").write_bytes(bytes(edited))

    linux_env = dict(os.environ, LC_ALL="C.UTF-8")
    cases = cli_cases(samples)
    normalise = OutputNormaliser()
    failures = []
    pictures = 0
    for case in cases:
        l_rc, l_out, l_err = run_program([str(linux_tool), *case.args], linux_dir, linux_env)
        w_rc, w_out, w_err = run_program([wine, str(windows_tool), *case.windows_args], windows_dir,
                                         wine_env)
        if not case.binary:
            w_out = normalise(w_out, case.args)
        w_err = normalise(w_err, case.args)
        same = (l_rc, l_out, l_err) == (w_rc, w_out, w_err)
        label = "delvard-map " + " ".join(case.windows_args)
        if case.binary:
            detail = f"{len(l_out)} bytes of PNG on standard output on Linux, {len(w_out)} under Wine"
        else:
            first_line = (l_out or l_err).decode(errors="replace").splitlines()[:1]
            detail = f"{len(l_out)}+{len(l_err)} bytes out+err" + (
                f", first line: {first_line[0]!r}" if first_line else "")
        saw(f"{'same' if same else 'DIFFERENT'}: {label}  (exit {l_rc} / {w_rc}, {detail})")
        if not same:
            failures.append(label)
            for what, l, w in (("exit", l_rc, w_rc), ("stdout", l_out, w_out), ("stderr", l_err, w_err)):
                if l != w:
                    saw(f"  {what} on Linux:   {l!r:.300}")
                    saw(f"  {what} under Wine: {w!r:.300}")
        for out in case.pictures:
            pictures += 1
            l_png, w_png = linux_dir / out, windows_dir / out
            if not (l_png.exists() and w_png.exists()):
                failures.append(f"{out} missing on {'Linux' if not l_png.exists() else 'Wine'}")
                saw(f"  MISSING: {out}")
                continue
            l_bytes, w_bytes = l_png.read_bytes(), w_png.read_bytes()
            saw(f"  {'same bytes' if l_bytes == w_bytes else 'DIFFERENT bytes'}: {out} "
                f"({len(l_bytes)} bytes on Linux, {len(w_bytes)} under Wine)")
            if l_bytes != w_bytes:
                failures.append(f"{out}: PNG bytes differ")
            l_png.unlink()
            w_png.unlink()
    saw(f"normalised: {normalise.crlf} CR LF line ends read as LF, "
        f"{normalise.paths} echoed file names with '\\' written back with '/'")
    require(not failures, "delvard-map.exe differs from the Linux delvard-map: " + "; ".join(failures))
    saw(f"all {len(cases)} commands and {pictures} PNG files agree")


# ---- delvard.exe ------------------------------------------------------------


def client_origin(geometry, client_size):
    """The top-left of a window's client area on the screen. Without a window
    manager Wine shows a window without a frame, so the X window is the
    client area; a frame, if any, is taken to be even on the sides and the
    bottom, with the rest on top."""
    x, y, w, h = geometry
    cw, ch = client_size
    side = max(0, (w - cw) // 2)
    top = max(0, h - ch - side)
    return x + side, y + top


def painted(screen, window):
    """The window's picture once it is more than one flat colour."""
    g = screen.geometry(window)
    if not g:
        return None
    image = screen.grab(g)
    return image if image.colours() >= 3 else None


class Editor:
    """One run of delvard.exe under Wine, seen through the X server."""

    def __init__(self, program_dir, wine, wine_env, screen, log_path):
        self.screen = screen
        self.log = open(log_path, "ab")
        self.process = subprocess.Popen([wine, str(program_dir / "delvard.exe")], cwd=program_dir,
                                        env=wine_env, stdout=self.log, stderr=subprocess.STDOUT)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()

    def running(self):
        """Raises a11y.Abort, which ends any wait at once, when the program has ended."""
        if self.process.poll() is not None:
            raise a11y.Abort(f"delvard.exe ended early with exit status {self.process.returncode}")

    def windows(self):
        return set(self.screen.windows("--class", "delvard"))

    def named(self, title, size=None):
        """A visible window of that exact name (and size, if given), or None."""
        self.running()
        for window in self.screen.windows("--name", f"^{re.escape(title)}$"):
            g = self.screen.geometry(window)
            if g and (size is None or (g[2], g[3]) == size):
                return window
        return None

    def wait_for(self, what, title, timeout, size=None):
        window = poll(what, lambda: self.named(title, size), timeout)
        g = self.screen.geometry(window)
        saw(f"{what}: window {window}, name {self.screen.window_name(window)!r}, at {g[0]},{g[1]}, "
            f"size {g[2]} x {g[3]}")
        poll(f"{what} to be drawn", lambda: painted(self.screen, window), 60)
        return window, g

    def wait_gone(self, what, window, timeout=60):
        poll(f"{what} to close", lambda: self.running() or window not in self.windows(), timeout)

    def click_in(self, geometry, client_size, button_box, what):
        ox, oy = client_origin(geometry, client_size)
        (x0, x1), (y0, y1) = button_box
        x, y = ox + (x0 + x1) // 2, oy + (y0 + y1) // 2
        self.screen.click(x, y)
        saw(f"clicked {what} at {x},{y}")

    def keys(self, window, *keys):
        """Keys for a window, slowly enough for Wine to open a menu between them."""
        self.screen.focus(window)
        self.screen.key(*keys, delay=80)

    def menu(self, window, menu_key, item_key, label, ends_program=False):
        """Opens a menu of the menu bar with Alt and its letter, then picks an
        item by its letter, waiting for the menu to appear and to go."""
        before = self.windows()
        self.keys(window, f"alt+{menu_key}")

        def popup():
            self.running()
            new = self.windows() - before
            return min(new) if new else None

        menu = poll(f"the menu of Alt+{menu_key.upper()} to open", popup, 30)
        g = self.screen.geometry(menu)
        saw(f"Alt+{menu_key.upper()} opened a menu (window {menu}, {g[2]} x {g[3]} at {g[0]},{g[1]})")
        self.screen.key(item_key)
        saw(f"pressed {item_key.upper()} for {label}")
        if not ends_program:
            self.wait_gone("the menu", menu, 30)

    def wait_for_exit(self, timeout=60):
        poll("delvard.exe to end", lambda: self.process.poll() is not None, timeout)
        require(self.process.returncode == 0,
                f"delvard.exe ended with exit status {self.process.returncode}")
        saw("delvard.exe ended with exit status 0")


def run_editor(program_dir, wine, wine_env, screen, shots, version, work, prefix):
    main_title = MAIN_TITLE.format(version=version)
    settings = program_dir / "Delvard.ini"
    maps = work / "maps"
    maps.mkdir()
    map_file = maps / SMALL_SAMPLE
    shutil.copyfile(ROOT / "samples" / SMALL_SAMPLE, map_file)
    original = map_file.read_bytes()
    log_path = work / "delvard-wine.log"

    step("delvard.exe: first run")
    require(not settings.exists(), f"{settings} exists before the first run")
    editor = Editor(program_dir, wine, wine_env, screen, log_path)
    try:
        first_run(editor, screen, shots, settings, map_file, original, main_title, prefix)
    except FAILED_STEP:
        shots.failure()
        raise
    finally:
        editor.close()
    remembered = settings.read_bytes()

    step("delvard.exe: second run")
    editor = Editor(program_dir, wine, wine_env, screen, log_path)
    try:
        second_run(editor, screen, shots, main_title)
    except FAILED_STEP:
        shots.failure()
        raise
    finally:
        editor.close()
    require(settings.read_bytes() == remembered, "the second run changed Delvard.ini")
    saw("Delvard.ini is as the first run left it")


def first_run(editor, screen, shots, settings, map_file, original, main_title, prefix):
    # The About box has no title bar; Windows knows it by the program's name.
    about, g = editor.wait_for("About box", ABOUT_NAME, 180, ABOUT_SIZE)
    require(editor.named(CHOOSER_TITLE) is None, "the folder chooser is up together with the About box")
    require(editor.named(main_title) is None, "the main window is up before the About box is answered")
    saw("neither the folder chooser nor the main window is up yet")
    shots.take("01-about.png")
    require(not settings.exists() or settings.stat().st_size == 0,
            "Delvard.ini already holds settings while the About box is up")
    saw(f"Delvard.ini beside the program: {'exists, empty' if settings.exists() else 'not yet written'}")
    editor.click_in(g, ABOUT_SIZE, ABOUT_OK, "OK")
    editor.wait_gone("the About box", about)
    saw("About box closed")

    chooser, g = editor.wait_for("folder chooser", CHOOSER_TITLE, 60)
    require((g[2], g[3]) >= CHOOSER_SIZE, f"the folder chooser is {g[2]} x {g[3]}, smaller than "
            f"{CHOOSER_SIZE[0]} x {CHOOSER_SIZE[1]}")
    require(editor.named(main_title) is None, "the main window is up before the folder is chosen")
    shots.take("02-folder-chooser.png")
    editor.click_in(g, CHOOSER_SIZE, CHOOSER_OK, "OK")
    editor.wait_gone("the folder chooser", chooser)
    saw("folder chooser closed")

    window, g = editor.wait_for("main window", main_title, 60)
    shots.take("03-main-window.png")

    step("Delvard.ini beside delvard.exe")
    program_dir = settings.parent

    def stored_folder():
        if not settings.exists():
            return None
        text = settings.read_bytes().decode("utf-8", errors="replace")
        return text if "[Paths]" in text and "Map=" in text else None

    text = poll("Delvard.ini to hold the map folder", stored_folder, 30)
    for line in text.splitlines():
        saw(f"Delvard.ini: {line}")
    stored = [line.split("=", 1)[1].strip() for line in text.splitlines() if line.startswith("Map=")]
    wanted = windows_path(program_dir)
    require(stored == [wanted], f"Delvard.ini names the map folder {stored}, not [{wanted!r}] "
            "(the chooser starts at the program's folder and OK keeps it)")
    saw(f"the stored map folder is the program's folder as Windows names it: {wanted}")
    fallback = list(Path(prefix, "drive_c", "users").glob("*/AppData/**/Delvard.ini"))
    require(not fallback, f"settings were also written to a per-user folder: {fallback}")
    saw("no Delvard.ini was written under the Wine prefix's per-user folders")

    step("File > Open")
    editor.menu(window, "f", "o", "Open")
    dialog, g = editor.wait_for("file dialog", OPEN_TITLE, 60)
    shots.take("04-open-dialog.png")
    typed = windows_path(map_file)
    screen.focus(dialog)
    screen.type_text(typed, delay=30)
    saw(f"typed {typed}")
    shots.take("05-open-dialog-typed.png")
    screen.key("Return")
    saw("pressed Return")
    editor.wait_gone("the file dialog", dialog)

    # The map window draws a black margin one cell wide around the map; its
    # top-left corner is the first long black run in the main window.
    def map_origin():
        editor.running()
        g = screen.geometry(window)
        image = screen.grab(g)
        start = image.black_run_start(CELL * 3)
        if not start:
            return None
        x, y = start
        if x + 2 * CELL > image.width or y + 2 * CELL > image.height:
            return None
        corner = image.crop(x, y, CELL, CELL)
        if corner.colours(2) != 1 or corner.pixel(0, 0) != (0, 0, 0):
            return None
        first_cell = image.crop(x + CELL, y + CELL, CELL, CELL)
        if first_cell.colours() < 3:
            return None
        return g[0] + x, g[1] + y

    mx, my = poll("the map to be drawn in the main window", map_origin, 60)
    saw(f"map shown: its black margin starts at {mx},{my} on the screen; cell (1, 1) is drawn at "
        f"{mx + CELL},{my + CELL}")
    shots.take("06-map-open.png")

    step("Paint one Heart")
    row, column = CLICKED_CELL
    block = (mx + CELL * (column - HEART_REACH), my + CELL * (row - HEART_REACH),
             CELL * (2 * HEART_REACH + 1), CELL * (2 * HEART_REACH + 1))
    before = screen.grab(block).pixels
    cx, cy = mx + CELL * column + CELL // 2, my + CELL * row + CELL // 2
    screen.click(cx, cy)
    saw(f"clicked row {row}, column {column} at {cx},{cy} (terrain {START_TOOLS[0]}, owner "
        f"{START_TOOLS[1]}: the defaults)")
    # The pointer leaves the map, so that the hover outline does not mix in.
    screen.move(screen.size[0] - 1, screen.size[1] - 1)

    def block_changed():
        editor.running()
        return screen.grab(block).pixels != before

    poll("the 5 x 5 cells around the click to change on the screen", block_changed, 30)
    saw("the 5 x 5 cells around the click changed on the screen")
    shots.take("07-heart-painted.png")

    step("File > Save")
    model = ExpectedMap(original)
    cells = model.click(row, column, *START_TOOLS)
    require(len(cells) == (2 * HEART_REACH + 1) ** 2, f"the map model takes the click as {cells}")
    expected = model.bytes()
    (top, left), (bottom, right) = cells[0], cells[-1]
    saw(f"map {model.width} x {model.height}, {len(original)} bytes; expecting rows {top}..{bottom}, "
        f"columns {left}..{right} as {'/'.join(START_TOOLS)}, bytes 2 and 3 of every record 0x01, "
        "header and trailing bytes as they were")
    editor.menu(window, "f", "s", "Save")
    wait_for_bytes(map_file, expected, 60, running=editor.running, interval=POLL)
    changed = sum(a != b for a, b in zip(original, expected))
    saw(f"saved {map_file.name}: {len(expected)} bytes, byte for byte as expected "
        f"({changed} bytes differ from the original)")
    shots.take("08-saved.png")

    step("Help > Read Me")
    editor.menu(window, "h", "r", "Read Me")
    viewer, g = editor.wait_for("read-me viewer", "ReadMe.txt", 60)
    shots.take("09-readme.png")
    editor.keys(viewer, "alt+F4")
    saw("pressed Alt+F4 in the read-me viewer")
    editor.wait_gone("the read-me viewer", viewer)
    saw("read-me viewer closed")

    step("File > Exit")
    editor.menu(window, "f", "e", "Exit", ends_program=True)
    editor.wait_for_exit()
    require(map_file.read_bytes() == expected, "the map changed after Save")


def second_run(editor, screen, shots, main_title):
    # The folder is known now: the main window comes first and alone.
    def main_window():
        if editor.named(ABOUT_NAME, ABOUT_SIZE) or editor.named(CHOOSER_TITLE):
            raise a11y.Abort("the second run shows the first run's About box or folder chooser")
        return editor.named(main_title)

    window = poll(f"the main window {main_title!r}", main_window, 180)
    g = screen.geometry(window)
    saw(f"main window: window {window}, at {g[0]},{g[1]}, size {g[2]} x {g[3]}; "
        "no About box, no folder chooser")
    poll("the main window to be drawn", lambda: painted(screen, window), 60)
    shots.take("10-second-run.png")
    editor.menu(window, "f", "e", "Exit", ends_program=True)
    editor.wait_for_exit()


# ---- the whole run ------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("zip", type=Path, help="the package, Delvard-<version>-win64.zip")
    parser.add_argument("--linux-build", type=Path, default=ROOT / "build",
                        help="a Linux build folder holding bin/delvard-map (default: build/)")
    parser.add_argument("--screenshots", type=Path, default=ROOT / "build" / "release" / "wine-screenshots")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    parser.add_argument("--editor-only", action="store_true",
                        help="leave out the delvard-map comparison (while working on the editor steps)")
    args = parser.parse_args()

    args.zip = args.zip.resolve()
    args.linux_build = args.linux_build.resolve()
    args.screenshots = args.screenshots.resolve()
    linux_tool = args.linux_build / "bin" / "delvard-map"
    if not linux_tool.exists():
        linux_tool = args.linux_build / "delvard-map"
    samples = sorted((ROOT / "samples").glob("*.kld"))
    wine, wineserver = wine_tools()
    for tool in ("Xvfb", "xdotool", "import"):
        require(shutil.which(tool), f"{tool} is not installed")
    require(os.access(linux_tool, os.X_OK), f"no Linux delvard-map in {args.linux_build}")
    require(samples, f"no sample maps in {ROOT / 'samples'}")

    work = Path(tempfile.mkdtemp(prefix="delvard-wine-"))
    args.screenshots.mkdir(parents=True, exist_ok=True)
    for old in args.screenshots.glob("*.png"):
        old.unlink()
    try:
        program_dir, version = unpack(args.zip, work)
    except SmokeFailure as failure:
        print(f"\nFAILED: {failure}\nwork folder kept: {work}", flush=True)
        return 1

    prefix = work / "wineprefix"
    screen = Screen(1600, 1000)
    shots = Shots(screen, args.screenshots)
    wine_env = dict(os.environ, LC_ALL="C.UTF-8", WINEPREFIX=str(prefix), WINEARCH="win64",
                    WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=screen.display)
    wine_env.pop("WAYLAND_DISPLAY", None)
    failures = []

    def part(name, run):
        """Runs one part; a failure is reported and the next part still runs."""
        try:
            run()
        except FAILED_STEP as failure:
            print(f"\nFAILED ({name}): {failure}", flush=True)
            failures.append(f"{name}: {failure}")

    try:
        step(f"Fresh Wine prefix {prefix} (X server {screen.display})")
        started = time.monotonic()
        rc, out, err = run_program([wine, "wineboot", "-i"], work, wine_env, timeout=600)
        if rc != 0 or not (prefix / "system.reg").exists():
            raise SmokeFailure(f"wineboot -i made no prefix ({rc}): {err.decode(errors='replace')[-800:]}")
        subprocess.run([wineserver, "-w"], env=wine_env, timeout=600)
        saw(f"prefix ready in {time.monotonic() - started:.0f} s")

        if args.editor_only:
            step("delvard-map.exe: left out (--editor-only)")
        else:
            part("delvard-map.exe", lambda: compare_cli(linux_tool, program_dir / "delvard-map.exe", wine,
                                                        wine_env, samples, work))
        part("delvard.exe", lambda: run_editor(program_dir, wine, wine_env, screen, shots, version, work,
                                               prefix))
    except FAILED_STEP as failure:
        print(f"\nFAILED: {failure}", flush=True)
        failures.append(str(failure))
        shots.failure()
    finally:
        subprocess.run([wineserver, "-k"], env=wine_env, timeout=60, capture_output=True)
        screen.close()
        if not failures and not args.keep:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print(f"work folder kept: {work}")

    if failures:
        print("\nwine_smoke.py: FAILED", flush=True)
        for failure in failures:
            print(f"  - {failure}", flush=True)
        return 1
    print(f"\nwine_smoke.py: the package works under Wine (screenshots in {args.screenshots})", flush=True)
    return 0


def unpack(zip_path, work):
    step(f"Unpacking {zip_path} into {work / 'program'}")
    require(zip_path.is_file(), f"there is no {zip_path}")
    with zipfile.ZipFile(zip_path) as package:
        package.extractall(work / "program")
    exes = list((work / "program").glob("**/delvard.exe"))
    require(len(exes) == 1, f"the zip holds {len(exes)} delvard.exe")
    program_dir = exes[0].parent
    for f in sorted(program_dir.rglob("*")):
        if f.is_file():
            saw(f"{f.relative_to(program_dir)}  {f.stat().st_size} bytes")
    require((program_dir / "delvard-map.exe").exists(), "the zip holds no delvard-map.exe")
    require((program_dir / "ReadMe.txt").exists(), "the zip holds no ReadMe.txt beside delvard.exe")
    require((program_dir / "platforms" / "qwindows.dll").exists(), "the zip holds no platforms/qwindows.dll")
    named = re.fullmatch(r"Delvard-([0-9.]+)-win64", program_dir.name)
    require(named, f"the program folder in the zip is {program_dir.name!r}, not Delvard-<version>-win64")
    return program_dir, named.group(1)


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        sys.exit(main())
    except (SmokeFailure, XvfbError) as failure:  # before anything ran: a missing tool or input
        print(f"wine_smoke.py: FAILED: {failure}", flush=True)
        sys.exit(1)
