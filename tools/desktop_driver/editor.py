"""The editor as a person sees it: windows, menus, palette, map and dialogs,
found through the accessibility tree and driven through xdotool, with the
pointer or with the keys alone. The map is a table whose cells report their
names, where they lie on the screen and which one has the keyboard."""

import re

from . import a11y
from .desktop import Program

CAPTION = "Delvard Version 2.0.0"


class Editor:
    def __init__(self, desktop, program_folder, home):
        self.desktop = desktop
        self.program = Program(desktop, program_folder, home)
        self.app = self.program.app

    def window(self, title, timeout=10):
        return a11y.wait_for(lambda: next((w for w in a11y.top_windows(self.app) if w.name == title), None),
                             timeout, f'the window "{title}"')

    def main(self):
        return self.window(CAPTION)

    def window_titles(self):
        return [w.name for w in a11y.top_windows(self.app)]

    def _part(self, role_name, name=None, max_depth=2):
        """A part of the main window. Its own children (menu bar, palette,
        map, status bar) are looked at first: a walk would ask each of the
        palette's 47 buttons on the way, and these looks are polled."""
        main = self.main()
        return (a11y.find(main, name=name, role_name=role_name, max_depth=1)
                or a11y.find(main, name=name, role_name=role_name, max_depth=max_depth))

    def _bar(self, menu):
        return a11y.find(self.main(), name=menu, role_name="menu item", max_depth=2)

    def _item(self, menu, name):
        item = a11y.find(self._bar(menu), name=name, role_name="menu item", max_depth=3)
        return item if item is not None and a11y.has_state(item, "showing") else None

    def menu(self, menu, name):
        self.desktop.click(*a11y.centre(self._bar(menu)))
        self.desktop.click(*a11y.centre(a11y.wait_for(lambda: self._item(menu, name), 5, f"{menu} > {name}")))

    def palette(self):
        return self._part("tool bar", "Palette")

    def button(self, tip):
        return a11y.find(self.palette(), name=tip, role_name="check box", max_depth=1)

    def enabled(self, tip):
        return a11y.has_state(self.button(tip), "enabled")

    def press(self, tip):
        assert self.enabled(tip), f'palette button "{tip}" is disabled'
        self.desktop.click(*a11y.centre(self.button(tip)))

    def choose(self, terrain, owner):
        """Owner first: it decides which terrains can be chosen."""
        self.press(owner)
        self.wait_tools(owner=owner)
        self.press(terrain)
        self.wait_tools(terrain=terrain, owner=owner)

    def _status(self, index):
        bar = self._part("status bar")
        return [c for c in a11y.children(bar) if a11y.role(c) == "label"][index]

    def cell_text(self):
        return self._status(0).name

    def tools_text(self):
        return self._status(1).name

    def tools(self):
        """(terrain, owner, cell pixels, grid shown) as the status bar names them."""
        match = re.match(r"Terrain: (.*?)   Owner: (.*?)   Cell: (\d+) px(   Grid)?$", self.tools_text())
        return match.group(1), match.group(2), int(match.group(3)), bool(match.group(4))

    def wait_tools(self, terrain=None, owner=None, cell=None, grid=None):
        wanted = (terrain, owner, cell, grid)
        return a11y.wait_for(lambda: all(w is None or w == got for w, got in zip(wanted, self.tools())),
                             5, f"tools {wanted} (status bar: {self.tools_text()!r})")

    def map_widget(self):
        """The map: a canvas with the table interface of its rows and
        columns (a table to screen readers outside Linux), named after its
        file."""
        return self._part("canvas", max_depth=4)

    def map_size(self):
        table = self.map_widget().queryTable()
        return table.nColumns, table.nRows

    def map_cell(self, row, column):
        """The accessible cell of row and column (from 1)."""
        return self.map_widget().queryTable().getAccessibleAt(row - 1, column - 1)

    def map_box(self):
        """(x, y, width, height) of the whole map picture, margin included,
        on the screen, wherever it is scrolled to; the cells report where
        they lie even when they are out of view."""
        x, y, w, h = a11y.extents(self.map_cell(1, 1))
        columns, rows = self.map_size()
        return x - w, y - h, (columns + 2) * w, (rows + 2) * h

    def wait_map(self, width, height, cell=72):
        shape = (width, height) if width and height else (1, 1)

        def shown():
            return (self.map_widget() is not None and self.map_size() == shape
                    and a11y.extents(self.map_cell(1, 1))[2:] == (cell, cell))
        return a11y.wait_for(shown, 20, f"a {width} x {height} map at {cell} px")

    def cell_point(self, row, column):
        x, y, w, h = a11y.extents(self.map_cell(row, column))
        return x + w // 2, y + h // 2

    def click_cell(self, row, column):
        self.desktop.click(*self.cell_point(row, column))

    def hover_cell(self, row, column):
        """What the status bar says of a cell: "terrain, owner"."""
        self.desktop.move(*self.cell_point(row, column))
        return self.wait_cell_words(row, column)

    def wait_cell_words(self, row, column, timeout=5):
        """Waits for the status bar to speak of a cell, under the pointer or
        the keys' cursor, and returns what it says of it: "terrain, owner"."""
        prefix = f"Row {row}, column {column}: "
        try:
            return a11y.wait_for(lambda: self.cell_text().startswith(prefix) and self.cell_text(), timeout,
                                 f"the status bar on row {row}, column {column}")[len(prefix):]
        except a11y.Timeout as timeout_error:
            raise a11y.Timeout(f"{timeout_error}; it says {self.cell_text()!r}") from None

    def park_pointer(self):
        """Off the map, so that no hover outline is drawn."""
        x, y, _, h = a11y.extents(self._status(0))
        self.desktop.move(x + 5, y + h // 2)

    # ---- the keyboard -------------------------------------------------------

    def give_keyboard(self, title=CAPTION):
        """Gives a window of the program the keyboard, as a window manager
        does for the window on top. Xvfb runs none: without this the keys go
        nowhere before the first click, and nobody hands them back to the
        main window when a dialog closes."""
        window = self.window(title)
        pattern = "^" + re.escape(title) + "$"
        ids = a11y.wait_for(lambda: self.desktop.windows("--pid", self.program.pid, "--name", pattern), 5,
                            f'the X window of "{title}"')
        self.desktop.focus(ids[0])
        a11y.wait_for(lambda: a11y.has_state(window, "active"), 5, f'"{title}" to take the keyboard')
        return window

    def key(self, *keys):
        """Keys pressed wherever the program's keyboard focus is."""
        self.desktop.key(*keys)

    def menu_by_keys(self, menu, name, letters):
        """A menu item through its access keys alone: the menu's underlined
        letter with Alt, then the item's, as "fo" for File > Open. Alt is held
        until the menu shows, as a hand holds it."""
        self.desktop.xdotool("keydown", "Alt_L")
        try:
            self.desktop.xdotool("key", letters[0])  # not key(): it would let go of Alt first
            a11y.wait_for(lambda: self._item(menu, name), 5, f"{menu} > {name} to be shown")
        finally:
            self.desktop.xdotool("keyup", "Alt_L")
        self.desktop.key(letters[1])

    def open_map_by_keys(self, path, width, height, shown=lambda: None):
        """File > Open by its access keys, the path typed once shown() has
        returned, and the keyboard back in the main window once the dialog
        has gone."""
        self.menu_by_keys("File", "Open", "fo")
        dialog = self.window("Open")
        shown()
        self.type_into_dialog(dialog, str(path))
        self.wait_map(width, height)
        a11y.wait_for(lambda: a11y.gone(dialog), 5, "the Open dialog to close")
        self.give_keyboard()

    def palette_stops(self):
        """The palette buttons the arrow keys can reach, in the toolbar's
        order: (tip, node) of those shown and enabled; separators and the
        toolbar's hidden extension button have no name."""
        return [(b.name, b) for b in a11y.children(self.palette())
                if a11y.role(b) == "check box" and b.name
                and a11y.has_state(b, "showing") and a11y.has_state(b, "enabled")]

    def what_has_keys(self):
        """Names and roles of what reports the keyboard focus, for messages."""
        found = [(n.name, a11y.role(n)) for n in a11y.walk(self.main()) if a11y.has_state(n, "focused")]
        return ", ".join(f"{role} {name!r}" for name, role in found) or "nothing"

    def open_dialog(self):
        self.menu("File", "Open")
        return self.window("Open")

    @staticmethod
    def dialog_listing(dialog):
        return {n.name for n in a11y.walk(dialog) if a11y.role(n) in ("table cell", "list item") and n.name}

    def type_into_dialog(self, dialog, text):
        """Types into the file name box once it has the keyboard."""
        a11y.wait_for(lambda: a11y.has_state(a11y.find(dialog, role_name="text"), "focused"), 5,
                      "the file name box to take the keys")
        self.desktop.type_text(text)
        self.desktop.key("Return")

    def open_map(self, path, width, height):
        self.type_into_dialog(self.open_dialog(), str(path))
        return self.wait_map(width, height)

    def close(self):
        self.program.kill()
