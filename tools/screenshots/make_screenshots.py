#!/usr/bin/env python3
"""Takes the README's screenshots of the built editor in a private X server.

usage: make_screenshots.py DELVARD OUTPUT_FOLDER
Drives the program from outside with tools/desktop_driver, as the end-to-end
tests do, and crops each picture to the window or bar it shows.
"""

import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools"))


def crop(desktop, box, target, margin=0):
    x, y, w, h = box
    full = target.with_suffix(".full.png")
    desktop.screenshot(full)
    geometry = f"{w + 2 * margin}x{h + 2 * margin}+{max(0, x - margin)}+{max(0, y - margin)}"
    subprocess.run(["convert", str(full), "-crop", geometry, "+repage", "-strip", str(target)],
                   check=True)
    full.unlink()
    print(f"wrote {target} ({geometry})")


def main():
    if os.environ.get("DELVARD_E2E_SESSION") != "1":
        env = dict(os.environ, DELVARD_E2E_SESSION="1")
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv], env)
    delvard, output = Path(sys.argv[1]), Path(sys.argv[2])
    output.mkdir(parents=True, exist_ok=True)

    from desktop_driver import a11y
    from desktop_driver.desktop import Desktop, fresh_program_folder
    from desktop_driver.editor import Editor

    desktop = Desktop()
    # A short, steady folder name: the status bar shows the map's path.
    root = Path("/tmp/delvard-tour")
    shutil.rmtree(root, ignore_errors=True)
    root.mkdir()
    editors = []
    try:
        home = root / "home"
        home.mkdir()
        program = fresh_program_folder(delvard, root, "Delvard")
        maps = root / "Maps"
        maps.mkdir()
        shutil.copy2(ROOT / "samples" / "small-10x8Map.kld", maps)

        # First run: the About box comes before everything else.
        editor = Editor(desktop, program, home)
        editors.append(editor)
        about = editor.window("About Delvard")
        time.sleep(0.5)
        crop(desktop, a11y.extents(about), output / "first-run.png", margin=8)
        desktop.click(*a11y.centre(a11y.find(about, name="OK", role_name="push button")))
        chooser = editor.window("Get Map File Path")
        desktop.click(*a11y.centre(a11y.find(chooser, name="OK", role_name="push button")))
        main_window = editor.main()
        window_box = a11y.extents(main_window)

        editor.open_map(maps / "small-10x8Map.kld", 10, 8)
        editor.park_pointer()
        time.sleep(0.3)
        crop(desktop, window_box, output / "map-72px.png")
        toolbar = a11y.find(main_window, name="Palette", role_name="tool bar", max_depth=2)
        crop(desktop, a11y.extents(toolbar), output / "toolbar.png")

        editor.choose("Hero Gate 3", "Hero")
        editor.park_pointer()
        time.sleep(0.3)
        crop(desktop, window_box, output / "palette-hero-gate.png")

        # The hover preview: a Heart aimed too close to the ring is outlined in red.
        editor.choose("Heart", "Hero")
        editor.hover_cell(3, 5)
        time.sleep(0.3)
        crop(desktop, window_box, output / "hover-refused-heart.png")

        # The keys: the cursor's frame on its cell, with the outline of what
        # Space would paint. A click on the palette leaves the keys in the map.
        editor.choose("Treasury", "Player")
        editor.park_pointer()
        editor.give_keyboard()
        for key in ("ctrl+Home", "Down", "Down", "Down", "Right", "Right", "Right", "Right"):
            desktop.key(key)
        a11y.wait_for(lambda: editor.cell_text().startswith("Row 4, column 5: "), 5,
                      "the cursor on row 4, column 5")
        time.sleep(0.3)
        crop(desktop, window_box, output / "keyboard-cursor.png")

        editor.park_pointer()
        for cell in (64, 56, 48, 40, 32, 24):
            editor.press("Zoom out")
            editor.wait_tools(cell=cell)
        time.sleep(0.3)
        # The small map leaves most of the window empty: keep the palette and the map.
        mx, my, mw, mh = editor.map_box()
        x, y, w, _ = window_box
        crop(desktop, (x, y, w, my + mh + 16 - y), output / "map-24px.png")
    finally:
        for editor in editors:
            editor.close()
        desktop.close()
        shutil.rmtree(root, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
