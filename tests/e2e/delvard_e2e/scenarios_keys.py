"""The editor by keys alone, the pointer parked outside its window, and the
map as a screen reader learns of it through AT-SPI."""

import shutil

from desktop_driver import a11y
from .mapbytes import ExpectedMap, StandardEdit, wait_for_bytes
from .scenarios_road import check

FOCUSED = "object:state-changed:focused"
NAME_CHANGED = "object:property-change:accessible-name"


def wait_keys(editor, node, what, after):
    try:
        a11y.wait_for(lambda: a11y.has_state(node, "focused"), 5, f"{what} to have the keyboard")
    except a11y.Timeout:
        raise AssertionError(f"after {after} the keyboard is on {editor.what_has_keys()}, not {what}") from None


def opened_by_keys(ctx, source):
    """A copy of source in the map folder the program remembers, opened by
    File > Open's access keys, the pointer parked off the window. Returns
    the editor, the copy and where the pointer is."""
    program, map_file = ctx.program_folder(), ctx.root / source.name
    shutil.copy2(source, map_file)
    (program / "Delvard.ini").write_text(f"[Paths]\nMap={ctx.root}\n", encoding="utf-8")
    editor = ctx.start(program)
    x, y, w, h = a11y.extents(editor.main())
    check(x + w < ctx.desktop.size[0] or y + h < ctx.desktop.size[1], "the window covers the screen's corner")
    ctx.desktop.move(ctx.desktop.size[0] - 1, ctx.desktop.size[1] - 1)
    editor.give_keyboard()
    editor.open_map_by_keys(map_file, *map_file.read_bytes()[20:25:4])  # its width and height
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
    """The cell at place as a reader finds it after a key: a table cell in view,
    named as the status bar names it, focused, with a focus event since mark."""
    spoken, cell = editor.cell_text(), editor.map_cell(*place)
    check(a11y.role(cell) == "table cell", f"cell {place} has the role {a11y.role(cell)}")
    check(cell.name == spoken, f"cell {place} is named {cell.name!r}; the status bar says {spoken!r}")
    check(a11y.has_state(cell, "showing"), f"cell {place} is out of view after {after}")
    a11y.wait_for(lambda: a11y.has_state(cell, "focused"), 5, f"cell {place} to report the focus after {after}")
    events.wait(mark, lambda e: e.kind == FOCUSED and e.detail == 1 and e.role == "table cell"
                and e.source == spoken, 5, f"a focus event from the cell {spoken!r} after {after}")


def map_read_as_a_table(ctx):
    edit = StandardEdit()  # 12 x 9: a swapped row and column count shows
    events = a11y.Events(FOCUSED, NAME_CHANGED)
    ctx.on_cleanup(events.close)
    editor, map_file, _ = opened_by_keys(ctx, edit.map)
    table = editor.map_widget()
    check(table.name == str(map_file), f"the map's table is named {table.name!r}")
    size = (table.queryTable().nRows, table.queryTable().nColumns, table.childCount)
    check(size == (edit.height, edit.width, edit.width * edit.height),
          f"the table has (rows, columns, cells) {size} for a {edit.width} x {edit.height} map")

    for key, place in (("Right", (1, 2)), ("Down", (2, 2)), ("End", (2, edit.width)),
                       ("ctrl+End", (edit.height, edit.width)), ("ctrl+Home", (1, 1))):
        mark = events.mark()
        step(editor, key, *place)
        heard_focus(editor, events, mark, place, key)

    # To the palette and back: the cell gives up the focus and takes it again.
    editor.key("Tab")
    a11y.wait_for(lambda: not a11y.has_state(editor.map_cell(1, 1), "focused"), 5,
                  "the current cell to give up the focus to the palette")
    mark = events.mark()
    editor.key("shift+Tab")
    heard_focus(editor, events, mark, (1, 1), "Shift+Tab from the palette")

    # The start's Heart by Space on (4, 4): its 5 x 5 block is renamed, each
    # cell with an event, and nothing around it.
    editor.key("Down", "Down", "Down", "Right", "Right", "Right")
    editor.wait_cell_words(4, 4)
    terrain, owner = editor.tools()[:2]
    block = ExpectedMap(edit.original).click(4, 4, terrain, owner)
    around = [(r, c) for r in range(1, 8) for c in range(1, 8)]
    before = {place: editor.map_cell(*place).name for place in around}
    mark = events.mark()
    editor.key("space")
    for row, column in block:
        want = f"Row {row}, column {column}: {terrain}, {owner}"
        a11y.wait_for(lambda: editor.map_cell(row, column).name == want, 5, f"cell {row, column} to be named {want!r}")
        events.wait(mark, lambda e: e.kind == NAME_CHANGED and e.role == "table cell" and e.source == want, 5,
                    f"a name event from the cell {want!r}")
    renamed = {e.source for e in events.since(mark) if e.kind == NAME_CHANGED and e.role == "table cell"}
    outside = [place for place in around if place not in block and before[place] in renamed]
    check(not outside, f"name events for cells the Heart did not paint: {outside}")


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


SCENARIOS = [editing_by_keys, map_read_as_a_table, large_map_by_pages]
