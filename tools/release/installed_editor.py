#!/usr/bin/python3
"""Starts the installed editor (delvard on PATH) in a private X server, as a
new user would meet it, and checks what the package promises:

- the first run shows the About box, then the folder chooser;
- the settings go to the user's ~/.config/Delvard/Delvard.ini, and nothing is
  written beside the installed program, although root could;
- Help > Read Me finds the ReadMe.txt beside the real executable;
- a sample map opens, one painted cell is saved, and the installed
  delvard-map sees exactly that cell changed.

usage: installed_editor.py SAMPLES_FOLDER SCREENSHOT.png
"""

import sys

sys.dont_write_bytecode = True

import os
import shutil
import subprocess
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))  # tools/, for desktop_driver

MAP = "small-10x8Map.kld"


def check(condition, message):
    if not condition:
        raise SystemExit(f"installed editor: {message}")


def main():
    samples, screenshot = Path(sys.argv[1]), Path(sys.argv[2])
    if os.environ.get("DELVARD_INSTALLED_SESSION") != "1":  # a D-Bus session of its own
        env = dict(os.environ, DELVARD_INSTALLED_SESSION="1")
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv], env)

    from desktop_driver import a11y
    from desktop_driver.desktop import Desktop
    from desktop_driver.editor import Editor

    on_path = shutil.which("delvard")
    check(on_path is not None, "delvard is not on PATH")
    program_folder = Path(os.path.realpath(on_path)).parent
    installed_files = sorted(p.name for p in program_folder.iterdir())
    check(installed_files == ["ReadMe.txt", "delvard"], f"{program_folder} holds {installed_files}")
    home = Path(tempfile.mkdtemp(prefix="delvard-installed-"))
    maps = home / "maps"
    maps.mkdir()
    shutil.copy2(samples / MAP, maps / MAP)
    original = (maps / MAP).read_bytes()

    desktop = Desktop()
    editor = None
    try:
        editor = Editor(desktop, Path(on_path).parent, home)
        for title in ("About Delvard", "Get Map File Path"):
            window = editor.window(title)
            check(editor.window_titles() == [title], f"the first run shows {editor.window_titles()}")
            desktop.click(*a11y.centre(a11y.find(window, name="OK", role_name="push button")))
        editor.main()
        settings = home / ".config" / "Delvard" / "Delvard.ini"
        a11y.wait_for(lambda: settings.exists() and settings.stat().st_size > 0, 10, f"{settings} to be written")
        check(f"Map={program_folder}" in settings.read_text(encoding="utf-8"), f"{settings} holds "
              f"{settings.read_text(encoding='utf-8')!r}")
        print(f"settings: {settings} holds Map={program_folder}")

        editor.open_map(maps / MAP, 10, 8)
        editor.choose("Treasury", "Keeper 1")
        editor.click_cell(3, 4)
        editor.hover_cell(3, 5)
        check(editor.hover_cell(3, 4) == "Treasury, Keeper 1", "the painted cell does not show it")
        editor.park_pointer()
        desktop.screenshot(screenshot)
        editor.menu("File", "Save")
        a11y.wait_for(lambda: (maps / MAP).read_bytes() != original, 10, "the save")
        shutil.copy2(samples / MAP, home / "original.kld")
        diff = subprocess.run(["delvard-map", "diff", str(home / "original.kld"), str(maps / MAP)],
                              capture_output=True, text=True)
        print("delvard-map diff after the save:\n" + diff.stdout.rstrip())
        check(diff.returncode == 1 and diff.stdout.splitlines()[0] ==
              "row 3, column 4: Treasury / Player -> Treasury / Keeper 1" and len(diff.stdout.splitlines()) == 2,
              "the saved map differs from the sample in more than the painted cell")
        editor.menu("Help", "Read Me")
        readme = editor.window("ReadMe.txt")
        text = a11y.find(readme, name="Read-me text", role_name="text")
        first_line = (program_folder / "ReadMe.txt").read_text(encoding="utf-8").splitlines()[0]
        shown = a11y.wait_for(lambda: text.queryText().getText(0, -1), 5, "the read-me text")
        check(shown.startswith(first_line), f"the read-me window shows {shown[:60]!r}")
        print(f"read-me: {program_folder / 'ReadMe.txt'} shown")

        editor.menu("File", "Exit")
        check(editor.program.wait_exit() == 0, "File > Exit did not end the program")
    finally:
        if editor is not None:
            editor.close()
        desktop.close()
    check(sorted(p.name for p in program_folder.iterdir()) == installed_files,
          f"the editor wrote beside itself in {program_folder}")
    shutil.rmtree(home)
    print(f"installed editor: all checks passed; screenshot {screenshot}")


if __name__ == "__main__":
    main()
