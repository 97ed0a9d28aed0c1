"""The first run and one editing run by the pointer: the About box and the
folder chooser, the real Open dialog and what it lists, the standard edit
(tests/fixtures/standard-edit.txt) clicked on the map, Save compared byte for
byte with the fixture, and Exit leaving an unsaved edit unwritten."""

import shutil

from desktop_driver import a11y
from .mapbytes import StandardEdit, wait_for_bytes


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def editing_road(ctx):
    edit = StandardEdit()
    program = ctx.program_folder()
    settings = program / "Delvard.ini"
    map_file = program / edit.map.name  # the chooser opens at the program
    shutil.copy2(edit.map, map_file)
    no_map = edit.map.name.replace("Map.kld", ".kld")  # no "map.kld" ending
    shutil.copy2(edit.map, program / no_map)
    (program / "otherMAP.KLD").write_bytes(b"x")

    editor = ctx.start(program)
    for title in ("About Delvard", "Get Map File Path"):
        window = editor.window(title)
        check(editor.window_titles() == [title], f"windows with {title}: {editor.window_titles()}")
        ctx.desktop.click(*a11y.centre(a11y.find(window, name="OK", role_name="push button")))
    editor.main()
    text = a11y.wait_for(lambda: settings.read_text(encoding="utf-8"), 5, "the settings to be written")
    check(text.splitlines()[:2] == ["[Paths]", f"Map={program}"], f"Delvard.ini holds {text!r}")

    dialog = editor.open_dialog()
    listed = a11y.wait_for(lambda: {map_file.name, "otherMAP.KLD"} <= editor.dialog_listing(dialog)
                           and editor.dialog_listing(dialog), 5, "the maps in the dialog's list")
    check(no_map not in listed, f"the dialog lists a file without the maps' ending: {sorted(listed)}")
    editor.type_into_dialog(dialog, str(map_file))
    editor.wait_map(edit.width, edit.height)

    for click in edit.clicks:
        editor.choose(click.terrain, click.owner)
        editor.click_cell(click.row, click.column)
    editor.menu("File", "Save")
    wait_for_bytes(map_file, edit.saved(), 10)

    editor.choose("Water", "Neutral")
    editor.click_cell(3, 3)
    a11y.wait_for(lambda: editor.map_cell(3, 3).name.endswith(": Water, Neutral"), 5, "an edit after the save")
    editor.menu("File", "Exit")
    check(editor.program.wait_exit() is not None, "File > Exit did not end the program")
    check(map_file.read_bytes() == edit.saved(), "Exit wrote the unsaved edit")


SCENARIOS = [editing_road]
