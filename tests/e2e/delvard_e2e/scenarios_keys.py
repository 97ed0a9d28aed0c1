"""The editor by keys alone, the pointer parked outside its window, and the
map as the screen reader Orca reads it."""

import shutil
import subprocess

from desktop_driver import a11y, orca
from .mapbytes import ExpectedMap, StandardEdit, wait_for_bytes
from .scenarios_road import check

FOCUSED = "object:state-changed:focused"


def wait_keys(editor, node, what, after):
    try:
        a11y.wait_for(lambda: a11y.has_state(node, "focused"), 5, f"{what} to have the keyboard")
    except a11y.Timeout:
        raise AssertionError(f"after {after} the keyboard is on {editor.what_has_keys()}, not {what}") from None


def opened_by_keys(ctx, source, dialog_shown=lambda: None):
    """A copy of source in the map folder the program remembers, opened by
    File > Open's access keys and its name (typed once dialog_shown() has
    returned), the pointer parked off the window. Returns the editor, the
    copy and where the pointer is."""
    program, map_file = ctx.program_folder(), ctx.root / source.name
    shutil.copy2(source, map_file)
    (program / "Delvard.ini").write_text(f"[Paths]\nMap={ctx.root}\n", encoding="utf-8")
    editor = ctx.start(program)
    x, y, w, h = a11y.extents(editor.main())
    check(x + w < ctx.desktop.size[0] or y + h < ctx.desktop.size[1], "the window covers the screen's corner")
    ctx.desktop.move(ctx.desktop.size[0] - 1, ctx.desktop.size[1] - 1)
    editor.give_keyboard()
    editor.open_map_by_keys(map_file.name, *map_file.read_bytes()[20:25:4], dialog_shown)  # its width and height
    wait_keys(editor, editor.map_widget(), "the map", "File > Open")
    return editor, map_file, ctx.desktop.pointer()


def step(editor, key, row, column):
    """A key in the map, and the status bar then naming the cell it leads to."""
    editor.key(key)
    return editor.wait_cell_words(row, column)


def editing_by_keys(ctx):
    edit = StandardEdit()
    editor, map_file, parked = opened_by_keys(ctx, edit.map)
    rules = ExpectedMap(edit.original)
    step(editor, "Down", 2, 1)
    step(editor, "Right", 2, 2)

    # Tab goes to the pressed terrain; the arrows walk the enabled buttons.
    editor.key("Tab")
    stops = dict(editor.palette_stops())
    names = list(stops)
    walk = names[names.index(editor.tools()[0]):names.index("Treasury") + 1]
    wait_keys(editor, stops[walk[0]], f'"{walk[0]}"', "Tab from the map")
    for before, tip in zip(walk, walk[1:]):
        editor.key("Right")
        wait_keys(editor, stops[tip], f'"{tip}"', f'Right on "{before}"')
    editor.key("space")
    editor.key("shift+Tab")
    wait_keys(editor, editor.map_widget(), "the map", "Shift+Tab from the palette")
    editor.key("space")
    step(editor, "Right", 2, 3)
    editor.key("Return")
    for column in (2, 3):
        rules.click(2, column, "Treasury", "Hero")

    # The menus have access keys and no shortcuts: Ctrl+S saves nothing.
    editor.key("ctrl+s")
    step(editor, "Left", 2, 2)
    check(map_file.read_bytes() == edit.original, "Ctrl+S wrote the map")
    editor.menu_by_keys("File", "Save", "fs")
    wait_for_bytes(map_file, rules.bytes(), 10)
    editor.menu_by_keys("File", "Exit", "fe")
    check(editor.program.wait_exit() is not None, "File > Exit by its keys did not end the program")
    check(ctx.desktop.pointer() == parked, f"the pointer moved from {parked} to {ctx.desktop.pointer()}")


def heard_focus(editor, events, mark, place, after):
    """The cell at place after a key: in view, focused, with a focus event since mark."""
    cell = editor.map_cell(*place)
    check(a11y.has_state(cell, "showing"), f"cell {place} is out of view after {after}")
    a11y.wait_for(lambda: a11y.has_state(cell, "focused"), 5, f"cell {place} to report the focus after {after}")
    events.wait(mark, lambda e: e.kind == FOCUSED and e.detail == 1 and e.source == cell.name, 5,
                f"a focus event from the cell {cell.name!r} after {after}")


def heard(reader, mark, words, after):
    """Waits for Orca to say words, and checks it said no other cell first."""
    found = reader.wait_said(mark, lambda w: w.rstrip(".") == words, f"Orca to say {words!r} after {after}")
    said = reader.words(mark)
    others = [w for w in said[:said.index(found)] if w.startswith("Row ")]
    check(not others, f"after {after} Orca read other cells before {words!r}: {others}")


def map_heard_through_orca(ctx):
    """Orca listening from the start, keys typed at a person's pace: File > Open,
    the map taking the keyboard, each move and paint, Save refused and done."""
    why = orca.missing()
    if why:
        print(f"    map_heard_through_orca SKIPPED: {why}", flush=True)
        return
    edit, reader = StandardEdit(), orca.Orca(ctx.desktop, ctx.root / "orca")  # 12 x 9: a swapped size shows
    ctx.on_cleanup(reader.close)
    ctx.desktop.typing_delay = 120
    ctx.on_cleanup(lambda: delattr(ctx.desktop, "typing_delay"))
    editor, map_file, _ = opened_by_keys(ctx, edit.map, lambda: reader.wait_said(
        0, lambda w: w.startswith("Open dialog"), "Orca to name the Open dialog"))
    size = (editor.map_widget().queryTable().nRows, editor.map_widget().queryTable().nColumns)
    check(size == (edit.height, edit.width), f"the map's table has (rows, columns) {size}")

    # The map takes the keyboard after Open, gives it to the palette, takes
    # it again: each time, its short name and its current cell.
    name, first = f"{map_file.name}, {edit.width} by {edit.height} cells", editor.map_cell(1, 1).name
    reader.wait_said(0, lambda w: w.startswith(name), f"Orca to name the map {name!r}")
    heard(reader, 0, first, "File > Open")
    mark = reader.mark()
    editor.key("Tab")
    reader.wait_said(mark, lambda w: "check box" in w, "Orca to read the palette's button")
    mark = reader.mark()
    editor.key("shift+Tab")
    reader.wait_said(mark, lambda w: w.startswith(name), f"Orca to name the map {name!r}")
    heard(reader, mark, first, "Shift+Tab")

    # One cell for each move, also to another row; a paint says the cell's new words.
    for key in ("Right", "Down", "Down", "Down", "Right", "Right", "space", "Page_Down"):
        mark, before = reader.mark(), editor.cell_text()
        editor.key(key)  # Space paints the start's Heart on (4, 4)
        heard(reader, mark, a11y.wait_for(lambda: editor.cell_text() != before and editor.cell_text(), 5, key), key)

    # Save refused (the file made read-only) is heard with the reason; Retry, then saves.
    mark = reader.mark()
    subprocess.run(["chattr", "+i", map_file], check=True)
    ctx.on_cleanup(lambda: subprocess.run(["chattr", "-i", map_file]))
    editor.menu_by_keys("File", "Save", "fs")
    reader.wait_said(mark, lambda w: "The file is read-only" in w, "Orca to say why the map was not saved")
    subprocess.run(["chattr", "-i", map_file], check=True)
    editor.key("Return")  # Retry, which has the keyboard
    reader.wait_said(mark, lambda w: w.startswith(f"Saved {map_file}"), "Orca to say the map was saved")
    cells = [w for w in reader.words(mark) if w.startswith("Row ")]
    check(all(w.rstrip(".") == editor.cell_text() for w in cells), f"Orca read other cells: {cells}")


def large_map_by_pages(ctx):
    """The 255 x 255 map: Page Down moves by the rows in view, Ctrl+End to
    the last cell, each kept in view and told of."""
    events = a11y.Events(FOCUSED)
    ctx.on_cleanup(events.close)
    editor, _, _ = opened_by_keys(ctx, StandardEdit().map.with_name("large-255x255Map.kld"))  # among the samples
    shown = next(r for r in range(1, 256) if not a11y.has_state(editor.map_cell(r, 1), "showing")) - 1
    # A page is the rows in view, or one more when the view ends on a cell's edge.
    mark = events.mark()
    editor.key("Page_Down")
    row = a11y.wait_for(lambda: next((r for r in (1 + shown, 2 + shown)
                                      if editor.cell_text().startswith(f"Row {r}, column 1: ")), None), 5,
                        f"Page Down to reach row {1 + shown} or {2 + shown}")
    heard_focus(editor, events, mark, (row, 1), "Page Down")
    mark = events.mark()
    step(editor, "ctrl+End", 255, 255)
    heard_focus(editor, events, mark, (255, 255), "Ctrl+End")
    check(not a11y.has_state(editor.map_cell(1, 1), "showing"), "the first cell still shows at the map's end")


SCENARIOS = [editing_by_keys, map_heard_through_orca, large_map_by_pages]
