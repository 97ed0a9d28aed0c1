"""The editing run by keys alone, and the map as a screen reader reads it.

The keys' run is the road's twin: the standard edit
(tests/fixtures/standard-edit.txt) made without the pointer, which is parked
outside the window before the first key and never moves again. File > Open,
Save and Exit go through their access keys, the tools are chosen with Tab,
the arrows and Space or Enter in the palette, the cells are reached with the
map's cursor keys and painted with Space or Enter, and the save is compared
byte for byte with the bytes the mouse run must leave.

The reading runs check what a screen reader learns through AT-SPI: a table
of the map's size whose cells are named as the status bar names them, the
focused cell following the cursor, and the events that tell of both."""

import shutil

from desktop_driver import a11y
from .mapbytes import Click, ExpectedMap, StandardEdit, wait_for_bytes
from .scenarios_road import check, map_folder_with, program_remembering

FOCUSED = "object:state-changed:focused"
NAME_CHANGED = "object:property-change:accessible-name"
CURSOR_COLOUR = (255, 214, 0)  # the keys' focus frame; neither hover outline has it
STEP_KEYS = {"Left": (0, -1), "Right": (0, 1), "Up": (-1, 0), "Down": (1, 0)}


class Cursor:
    """Where the map's keys should leave the current cell on a map whose
    rows all show at once, so that Page Up and Page Down go to the first
    and the last row."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.row = self.column = 1

    def after(self, key):
        row, column = self.row, self.column
        if key in STEP_KEYS:
            row, column = row + STEP_KEYS[key][0], column + STEP_KEYS[key][1]
        elif key in ("Home", "End"):
            column = 1 if key == "Home" else self.width
        elif key in ("ctrl+Home", "ctrl+End"):
            row, column = (1, 1) if key == "ctrl+Home" else (self.height, self.width)
        elif key in ("Page_Up", "Page_Down"):
            row = 1 if key == "Page_Up" else self.height
        elif key not in ("space", "Return"):
            raise ValueError(f"no rule for {key}")
        return min(max(row, 1), self.height), min(max(column, 1), self.width)

    def route(self, row, column):
        """The fewest keys to a cell: the arrows, or a row's ends by Home and
        End, the first and last rows by Page Up and Page Down, a corner by
        Ctrl+Home or Ctrl+End."""
        down, right = row - self.row, column - self.column
        rows = [["Down" if down > 0 else "Up"] * abs(down),
                ["Page_Up"] + ["Down"] * (row - 1), ["Page_Down"] + ["Up"] * (self.height - row)]
        columns = [["Right" if right > 0 else "Left"] * abs(right),
                   ["Home"] + ["Right"] * (column - 1), ["End"] + ["Left"] * (self.width - column)]
        keys = min(rows, key=len) + min(columns, key=len)
        corner = {(1, 1): "ctrl+Home", (self.height, self.width): "ctrl+End"}.get((row, column))
        return [corner] if corner and len(keys) > 1 else keys


def move(editor, cursor, *keys):
    """Presses keys in the map, one at a time: after each the status bar
    must name the cell the rules give. A key that should leave the cursor
    where it is cannot be told from one not handled yet; a wrong move of it
    shows in the next key's cell. Returns the last cell's words."""
    words = None
    for key in keys:
        row, column = cursor.after(key)
        editor.key(key)
        try:
            words = editor.wait_cell_words(row, column)
        except a11y.Timeout as timeout:
            raise AssertionError(f"{key} from ({cursor.row}, {cursor.column}): {timeout}") from None
        cursor.row, cursor.column = row, column
    return words


def go(editor, cursor, row, column):
    return move(editor, cursor, *cursor.route(row, column))


def aside_and_back(editor, cursor):
    """A step in the map and back: handled after the keys before it."""
    move(editor, cursor, *(("Left", "Right") if cursor.column == cursor.width else ("Right", "Left")))


def paint(editor, cursor, click, key="space"):
    """Space or Enter on the current cell, then a step aside and back, so
    the words seen then are those the key left."""
    check((cursor.row, cursor.column) == (click.row, click.column), f"the cursor is not on {click}")
    before = editor.wait_cell_words(click.row, click.column)
    editor.key(key)
    aside_and_back(editor, cursor)
    want = before if click.refused else f"{click.terrain}, {click.owner}"
    words = editor.wait_cell_words(click.row, click.column)
    check(words == want, f"{key} on ({click.row}, {click.column}) left {words!r}, not {want!r}")


def park_pointer_outside(editor):
    """The pointer off the main window, where no move of it reaches the map."""
    x, y, w, h = a11y.extents(editor.main())
    spot = (editor.desktop.size[0] - 1, editor.desktop.size[1] - 1)
    check(not (x <= spot[0] < x + w and y <= spot[1] < y + h), "the window covers the screen's corner")
    editor.desktop.move(*spot)
    return editor.desktop.pointer()


def wait_map_keys(editor, after):
    try:
        a11y.wait_for(editor.map_has_keys, 5, "the map to have the keyboard")
    except a11y.Timeout:
        raise AssertionError(f"after {after} the keyboard is on {editor.what_has_keys()}, not the map") from None


# ---- the palette -----------------------------------------------------------

def wait_button_keys(editor, tip, after, node=None):
    node = node or editor.button(tip)
    try:
        a11y.wait_for(lambda: a11y.has_state(node, "focused"), 5, f'"{tip}" to have the keyboard')
    except a11y.Timeout:
        raise AssertionError(f'after {after} the keyboard is on {editor.what_has_keys()}, not "{tip}"') from None


def enter_palette(editor, key="Tab"):
    """Tab (or Shift+Tab) from the map: the palette's one stop is the
    pressed terrain's button."""
    editor.key(key)
    wait_button_keys(editor, editor.tools()[0], f"{key} from the map")


def leave_palette(editor, key="Tab"):
    editor.key(key)
    wait_map_keys(editor, f"{key} from the palette")


def walk_to(editor, tip):
    """The fewest keys along the buttons shown enabled, in the toolbar's
    order: the arrows, or Home or End and the arrows from there. Each key
    must land on the next of them, greyed buttons and separators passed
    over."""
    nodes = dict(editor.palette_stops())
    stops = list(nodes)
    check(tip in stops, f'"{tip}" is greyed or hidden; the stops are {stops}')
    here = editor.focused_button()
    check(here in stops, f'the keyboard is on "{here}", which is no stop of {stops}')
    at, goal, last = stops.index(here), stops.index(tip), len(stops) - 1
    keys = min((["Right" if goal > at else "Left"] * abs(goal - at),
                ["Home"] + ["Right"] * goal, ["End"] + ["Left"] * (last - goal)), key=len)
    for key in keys:
        before, at = stops[at], {"Home": 0, "End": last, "Right": min(at + 1, last), "Left": max(at - 1, 0)}[key]
        editor.key(key)
        wait_button_keys(editor, stops[at], f'{key} on "{before}"', nodes[stops[at]])


def press(editor, tip, key="space"):
    walk_to(editor, tip)
    editor.key(key)


def choose(editor, terrain, owner, leave="Tab"):
    """The owner first (it decides which terrains can be chosen) with
    Space, then the terrain with Enter; back to the map by `leave`."""
    if not editor.focused_button():
        if editor.tools()[:2] == (terrain, owner):
            return
        enter_palette(editor)
    if editor.tools()[1] != owner:
        press(editor, owner, "space")
        editor.wait_tools(owner=owner)
    if editor.tools()[0] != terrain:
        press(editor, terrain, "Return")
        editor.wait_tools(terrain=terrain, owner=owner)
    for tip in (terrain, owner):
        check(a11y.has_state(editor.button(tip), "checked"), f'"{tip}" is not shown pressed')
    leave_palette(editor, leave)


def frame_pixels(editor, row, column):
    """How many pixels of a cell's square have the keys' frame colour."""
    return editor.desktop.grab(a11y.extents(editor.map_cell(row, column))).pixels_of(CURSOR_COLOUR)


# ---- the scenarios ---------------------------------------------------------

def editing_road_by_keys(ctx):
    edit = StandardEdit()
    maps = map_folder_with(ctx)
    map_file = maps / edit.map.name
    shutil.copy2(edit.map, map_file)
    # The rules a mouse click follows give the fixture's bytes for the same edits.
    rules = ExpectedMap(edit.original)
    for click in edit.clicks:
        rules.click(click.row, click.column, click.terrain, click.owner)
    check(rules.bytes() == edit.saved(), "the click rules and the standard edit's fixture disagree")

    editor = ctx.start(program_remembering(ctx, maps))
    editor.main()
    parked = park_pointer_outside(editor)
    editor.give_keyboard()
    editor.open_map_by_keys(map_file, edit.width, edit.height)
    wait_map_keys(editor, "File > Open")
    check(editor.cell_text() == str(map_file), f"the status bar says {editor.cell_text()!r} before any key")
    check(frame_pixels(editor, 1, 1) == 0, "the keys' frame is drawn before a key was pressed")
    # The last row shows while the view is at the top: a page holds all the
    # map's rows, so Page Up and Page Down go to the first and the last row.
    check(a11y.has_state(editor.map_cell(edit.height, 1), "showing"), "the map's last row is out of view")
    cursor = Cursor(edit.width, edit.height)

    # The first cell is current; the arrows, Home, End and the corners stop
    # at the edges (a wrap would show on the next key).
    move(editor, cursor, "Left", "Up", "Right")
    a11y.wait_for(lambda: frame_pixels(editor, 1, 2) > 0, 5, "the keys' frame on row 1, column 2")
    a11y.wait_for(lambda: frame_pixels(editor, 1, 1) == 0, 5, "the keys' frame to leave row 1, column 1")
    move(editor, cursor, "ctrl+End", "Right", "Down", "Left", "End", "Page_Up", "Home", "Page_Down", "ctrl+Home")

    enter_palette(editor)
    leave_palette(editor, "shift+Tab")

    *clicks, last = edit.clicks
    for number, click in enumerate(clicks):
        choose(editor, click.terrain, click.owner, leave="shift+Tab" if number % 2 else "Tab")
        go(editor, cursor, click.row, click.column)
        paint(editor, cursor, click, "Return" if number % 3 == 2 else "space")

    # Gold is the neutral owner's only: Player greys it and brings back the Heart.
    choose(editor, "Gold", "Neutral")
    enter_palette(editor, "shift+Tab")
    press(editor, "Player", "Return")
    editor.wait_tools(terrain="Heart", owner="Player")
    check(not editor.enabled("Gold"), "Gold is still enabled with the owner Player")
    wait_button_keys(editor, "Player", "Enter on Player")
    walk_to(editor, "Zoom out")
    for cell in (64, 56, 48, 40, 32, 24):
        editor.key("space")
        editor.wait_tools(cell=cell)
        editor.wait_map(edit.width, edit.height, cell)
    check(not editor.enabled("Zoom out"), "Zoom out still enabled at 24 px")
    # Greyed under the keyboard, Zoom out hands it to its neighbour.
    wait_button_keys(editor, "Grid On/Off", "the last Zoom out")
    editor.key("Return")
    editor.wait_tools(grid=False)
    choose(editor, last.terrain, last.owner, leave="shift+Tab")
    go(editor, cursor, last.row, last.column)
    paint(editor, cursor, last)

    # The menus have access keys and no shortcuts: Ctrl+S saves nothing.
    editor.key("ctrl+s")
    aside_and_back(editor, cursor)
    check(map_file.read_bytes() == edit.original, "Ctrl+S wrote the map")
    editor.menu_by_keys("File", "Save", "fs")
    wait_for_bytes(map_file, edit.saved(), 10)
    check(not editor.menu_item_enabled("File", "Save"), "Save is still enabled after saving")
    saved = map_file.read_bytes()
    dropped = Click(3, 3, "Water", "Neutral", refused=False)  # Exit drops it unsaved
    choose(editor, dropped.terrain, dropped.owner)
    go(editor, cursor, dropped.row, dropped.column)
    paint(editor, cursor, dropped)
    editor.menu_by_keys("File", "Exit", "fe")
    check(editor.program.wait_exit() is not None, "File > Exit by its keys did not end the program")
    check(map_file.read_bytes() == saved, "Exit wrote the unsaved edit")
    check(editor.desktop.pointer() == parked, f"the pointer moved from {parked} to {editor.desktop.pointer()}")


def map_read_as_a_table(ctx):
    edit = StandardEdit()  # 12 x 9: a swapped row and column count shows
    maps = map_folder_with(ctx)
    map_file = maps / edit.map.name
    shutil.copy2(edit.map, map_file)
    events = a11y.Events(FOCUSED, NAME_CHANGED)
    ctx.on_cleanup(events.close)

    editor = ctx.start(program_remembering(ctx, maps))
    editor.main()
    park_pointer_outside(editor)
    editor.give_keyboard()
    editor.open_map_by_keys(map_file, edit.width, edit.height)
    wait_map_keys(editor, "File > Open")
    table = editor.map_widget()
    check(table.name == str(map_file), f"the map's table is named {table.name!r}")
    table_size = (table.queryTable().nRows, table.queryTable().nColumns, table.childCount)
    check(table_size == (edit.height, edit.width, edit.width * edit.height),
          f"the table has (rows, columns, cells) {table_size} for a {edit.width} x {edit.height} map")

    cursor = Cursor(edit.width, edit.height)
    previous = (1, 1)
    for key in ("Right", "Right", "Down", "End", "Down", "Down", "Home", "ctrl+End", "Up", "Left", "ctrl+Home"):
        mark = events.mark()
        move(editor, cursor, key)
        here, spoken = (cursor.row, cursor.column), editor.cell_text()
        cell = editor.map_cell(*here)
        check(a11y.role(cell) == "table cell", f"cell {here} has the role {a11y.role(cell)}")
        check(cell.name == spoken, f"cell {here} is named {cell.name!r}; the status bar says {spoken!r}")
        a11y.wait_for(lambda: a11y.has_state(cell, "focused"), 5, f"cell {here} to report the focus")
        a11y.wait_for(lambda: not a11y.has_state(editor.map_cell(*previous), "focused"), 5,
                      f"cell {previous} to give up the focus")
        events.wait(mark, lambda e: e.kind == FOCUSED and e.detail == 1 and e.role == "table cell"
                    and e.source == spoken, 5, f"a focus event from the cell {spoken!r}")
        previous = here

    # The keys leave the map and come back: the cell gives up the focus and
    # takes it again, with an event.
    enter_palette(editor)
    a11y.wait_for(lambda: not a11y.has_state(editor.map_cell(*previous), "focused"), 5,
                  "the current cell to give up the focus to the palette")
    mark = events.mark()
    choose(editor, "Heart", "Player", leave="shift+Tab")
    spoken = editor.cell_text()
    check(editor.map_cell(*previous).name == spoken, f"the status bar says {spoken!r} of the current cell")
    a11y.wait_for(lambda: a11y.has_state(editor.map_cell(*previous), "focused"), 5, "the current cell's focus")
    events.wait(mark, lambda e: e.kind == FOCUSED and e.detail == 1 and e.role == "table cell"
                and e.source == spoken, 5, "a focus event from the current cell on coming back")

    # A Heart by keys: its 5 x 5 block is renamed, each cell with an event,
    # and nothing around it.
    heart = next(c for c in edit.clicks if c.terrain == "Heart" and not c.refused)
    go(editor, cursor, heart.row, heart.column)
    rules = ExpectedMap(edit.original)
    block = set(rules.click(heart.row, heart.column, heart.terrain, heart.owner))
    around = [(r, c) for r in range(heart.row - 3, heart.row + 4) for c in range(heart.column - 3, heart.column + 4)
              if 1 <= r <= edit.height and 1 <= c <= edit.width]
    before = {place: editor.map_cell(*place).name for place in around}
    mark = events.mark()
    editor.key("space")
    for place in around:
        want = (f"Row {place[0]}, column {place[1]}: {heart.terrain}, {heart.owner}"
                if place in block else before[place])
        a11y.wait_for(lambda: editor.map_cell(*place).name == want, 5, f"cell {place} to be named {want!r}")
        if place in block:
            events.wait(mark, lambda e: e.kind == NAME_CHANGED and e.role == "table cell" and e.source == want, 5,
                        f"a name event from the cell {want!r}")
    painted = editor.map_cell(heart.row, heart.column).name
    check(painted != before[(heart.row, heart.column)], f"the painted cell is still named {painted!r}")
    check(editor.cell_text() == painted, f"the status bar says {editor.cell_text()!r}, the cell {painted!r}")
    renamed = {e.source for e in events.since(mark) if e.kind == NAME_CHANGED and e.role == "table cell"}
    outside = [p for p in around if p not in block and before[p] in renamed]
    check(not outside, f"name events for cells the Heart did not paint: {outside}")


SCENARIOS = [editing_road_by_keys, map_read_as_a_table]
