"""One editing run end to end: the first run's questions, opening through
the dialog, painting, zoom and grid, a save compared byte for byte, Exit
with an unsaved edit, and a second run that asks nothing."""

import shutil
from pathlib import Path

from desktop_driver import a11y
from desktop_driver.editor import CAPTION
from .mapbytes import ExpectedMap, wait_for_bytes

SAMPLES = Path(__file__).resolve().parents[3] / "samples"


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def map_folder_with(ctx, *samples, folder=None):
    folder = folder or ctx.root / "maps"
    folder.mkdir(parents=True, exist_ok=True)
    for sample in samples:
        shutil.copy2(SAMPLES / sample, folder / sample)
    return folder


def program_remembering(ctx, map_folder):
    program = ctx.program_folder()
    (program / "Delvard.ini").write_text(f"[Paths]\nMap={map_folder}\n", encoding="utf-8")
    return program


def answer_first_run(ctx, editor):
    """OK on the About box, then OK on the folder chooser, each alone on screen."""
    for title in ("About Delvard", "Get Map File Path"):
        window = editor.window(title)
        check(editor.window_titles() == [title], f"windows with {title}: {editor.window_titles()}")
        ctx.desktop.click(*a11y.centre(a11y.find(window, name="OK", role_name="push button")))


def editing_road(ctx):
    program = ctx.program_folder()
    settings = program / "Delvard.ini"
    map_folder_with(ctx, "small-10x8Map.kld", folder=program)  # the chooser opens at the program
    (program / "notes.txt").write_text("not a map\n")
    shutil.copy2(SAMPLES / "small-10x8Map.kld", program / "small-10x8.kld")  # no "map.kld" ending
    (program / "otherMAP.KLD").write_bytes(b"x")
    map_file = program / "small-10x8Map.kld"
    expected = ExpectedMap(map_file.read_bytes())

    editor = ctx.start(program)
    editor.window("About Delvard")
    check(settings.exists() and settings.stat().st_size == 0, "no empty Delvard.ini under the About box")
    answer_first_run(ctx, editor)
    editor.main()
    a11y.wait_for(lambda: settings.stat().st_size > 0, 5, "the settings to be written")
    text = settings.read_text(encoding="utf-8")
    check(text.splitlines()[:2] == ["[Paths]", f"Map={program}"], f"Delvard.ini holds {text!r}")
    check(not editor.enabled("Heart"), "the palette is enabled before a map is open")

    dialog = editor.open_dialog()
    listed = a11y.wait_for(lambda: {"small-10x8Map.kld", "otherMAP.KLD"} <= editor.dialog_listing(dialog)
                           and editor.dialog_listing(dialog), 5, "the maps in the dialog's list")
    check(not listed & {"notes.txt", "small-10x8.kld"}, f"the dialog lists no-maps: {sorted(listed)}")
    editor.type_into_dialog(dialog, str(map_file))
    editor.wait_map(10, 8)
    check(not editor.menu_item_enabled("File", "Open"), "File > Open stays enabled after a map is shown")

    def paint(row, column, terrain, owner):
        editor.choose(terrain, owner)
        before = editor.hover_cell(row, column)
        changed = expected.click(row, column, terrain, owner)
        editor.click_cell(row, column)
        # The status bar reporting another cell proves the click was handled.
        editor.hover_cell(row, column + 1 if column < expected.width else column - 1)
        want = f"{terrain}, {owner}" if changed else before
        check(editor.hover_cell(row, column) == want, f"({row}, {column}) does not show {want}")

    paint(2, 2, "Treasury", "Keeper 1")
    paint(5, 5, "Heart", "Player")      # a 5 x 5 block
    paint(3, 8, "Heart", "Player")      # refused: too close to the ring
    paint(1, 4, "Portal", "Player")     # refused: the ring
    paint(2, 9, "Gold", "Neutral")
    editor.press("Player")              # Gold is the neutral owner's only
    editor.wait_tools(terrain="Heart", owner="Player")
    paint(7, 2, "Hero Gate 3", "Hero")
    for cell in (64, 56, 48, 40, 32, 24):
        editor.press("Zoom out")
        editor.wait_tools(cell=cell)
        editor.wait_map(10, 8, cell)
    check(not editor.enabled("Zoom out"), "Zoom out still enabled at 24 px")
    editor.press("Grid On/Off")
    editor.wait_tools(grid=False)
    paint(6, 8, "Mana", "Keeper 4")

    editor.menu("File", "Save")
    wait_for_bytes(map_file, expected.bytes(), 10)
    check(not editor.menu_item_enabled("File", "Save"), "Save is still enabled after saving")
    saved = map_file.read_bytes()
    paint(3, 3, "Water", "Neutral")     # Exit drops it unsaved
    editor.menu("File", "Exit")
    check(editor.program.wait_exit() is not None, "File > Exit did not end the program")
    check(map_file.read_bytes() == saved, "Exit wrote the unsaved edit")

    second = ctx.start(program)
    second.main()
    check(second.settled_titles() == [CAPTION], f"the second run showed {second.window_titles()}")


SCENARIOS = [editing_road]
