"""One editing run end to end: the first run's questions, opening through
the dialog, the standard edit (tests/fixtures/standard-edit.txt) with zoom
and grid before its last click, a save compared byte for byte with the
fixture, Exit with an unsaved edit, and a second run that asks nothing."""

import shutil
from pathlib import Path

from desktop_driver import a11y
from desktop_driver.editor import CAPTION
from .mapbytes import Click, StandardEdit, wait_for_bytes

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
    edit = StandardEdit()
    program = ctx.program_folder()
    settings = program / "Delvard.ini"
    map_file = program / edit.map.name  # the chooser opens at the program
    shutil.copy2(edit.map, map_file)
    (program / "notes.txt").write_text("not a map\n")
    no_map = edit.map.name.replace("Map.kld", ".kld")  # no "map.kld" ending
    shutil.copy2(edit.map, program / no_map)
    (program / "otherMAP.KLD").write_bytes(b"x")

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
    listed = a11y.wait_for(lambda: {map_file.name, "otherMAP.KLD"} <= editor.dialog_listing(dialog)
                           and editor.dialog_listing(dialog), 5, "the maps in the dialog's list")
    check(not listed & {"notes.txt", no_map}, f"the dialog lists no-maps: {sorted(listed)}")
    editor.type_into_dialog(dialog, str(map_file))
    editor.wait_map(edit.width, edit.height)
    check(not editor.menu_item_enabled("File", "Open"), "File > Open stays enabled after a map is shown")

    def paint(click):
        row, column = click.row, click.column
        editor.choose(click.terrain, click.owner)
        before = editor.hover_cell(row, column)
        editor.click_cell(row, column)
        # The status bar reporting another cell proves the click was handled.
        editor.hover_cell(row, column + 1 if column < edit.width else column - 1)
        want = before if click.refused else f"{click.terrain}, {click.owner}"
        check(editor.hover_cell(row, column) == want, f"({row}, {column}) does not show {want}")

    *clicks, last = edit.clicks
    for click in clicks:
        paint(click)
    editor.choose("Gold", "Neutral")
    editor.press("Player")              # Gold is the neutral owner's only
    editor.wait_tools(terrain="Heart", owner="Player")
    for cell in (64, 56, 48, 40, 32, 24):
        editor.press("Zoom out")
        editor.wait_tools(cell=cell)
        editor.wait_map(edit.width, edit.height, cell)
    check(not editor.enabled("Zoom out"), "Zoom out still enabled at 24 px")
    editor.press("Grid On/Off")
    editor.wait_tools(grid=False)
    paint(last)

    editor.menu("File", "Save")
    wait_for_bytes(map_file, edit.saved(), 10)
    check(not editor.menu_item_enabled("File", "Save"), "Save is still enabled after saving")
    saved = map_file.read_bytes()
    paint(Click(3, 3, "Water", "Neutral", refused=False))  # Exit drops it unsaved
    editor.menu("File", "Exit")
    check(editor.program.wait_exit() is not None, "File > Exit did not end the program")
    check(map_file.read_bytes() == saved, "Exit wrote the unsaved edit")

    second = ctx.start(program)
    second.main()
    check(second.settled_titles() == [CAPTION], f"the second run showed {second.window_titles()}")


SCENARIOS = [editing_road]
