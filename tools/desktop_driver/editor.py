"""The editor as a person sees it: windows, menus, palette, map and dialogs,
found through the accessibility tree and driven through xdotool. The map is
a table whose cells report their names and where they lie on the screen."""

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

    def settled_titles(self):
        """The windows shown once the program has handled all before: a menu
        opened and closed is a round trip through its event loop."""
        self.desktop.click(*a11y.centre(self._bar("Help")))
        item = a11y.wait_for(lambda: self._item("Help", "About"), 5, "the Help menu")
        self.desktop.key("Escape")
        a11y.wait_for(lambda: not a11y.has_state(item, "showing"), 5, "the Help menu to close")
        return self.window_titles()

    def _bar(self, menu):
        return a11y.find(self.main(), name=menu, role_name="menu item", max_depth=2)

    def _item(self, menu, name, shown=True):
        item = a11y.find(self._bar(menu), name=name, role_name="menu item", max_depth=3)
        return item if item is not None and (not shown or a11y.has_state(item, "showing")) else None

    def menu(self, menu, name):
        self.desktop.click(*a11y.centre(self._bar(menu)))
        self.desktop.click(*a11y.centre(a11y.wait_for(lambda: self._item(menu, name), 5, f"{menu} > {name}")))

    def menu_item_enabled(self, menu, name):
        return a11y.has_state(self._item(menu, name, shown=False), "enabled")

    def button(self, tip):
        palette = a11y.find(self.main(), name="Palette", role_name="tool bar", max_depth=2)
        return a11y.find(palette, name=tip, role_name="check box", max_depth=1)

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
        bar = a11y.find(self.main(), role_name="status bar", max_depth=2)
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
        """The map: a table of its rows and columns, named after its file."""
        return a11y.find(self.main(), role_name="table", max_depth=4)

    def viewport(self):
        """The part of the window the map is seen in."""
        return self.map_widget()

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
        prefix = f"Row {row}, column {column}: "
        return a11y.wait_for(lambda: self.cell_text().startswith(prefix) and self.cell_text(), 5,
                             f"the status bar on row {row}, column {column}")[len(prefix):]

    def park_pointer(self):
        """Off the map, so that no hover outline is drawn."""
        x, y, _, h = a11y.extents(self._status(0))
        self.desktop.move(x + 5, y + h // 2)

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

    def message_box(self, timeout=10):
        """A message box and its text; it carries the main window's caption."""
        box = a11y.wait_for(lambda: next((w for w in a11y.top_windows(self.app)
                                          if a11y.role(w) in ("alert", "dialog") and w.name == CAPTION), None),
                            timeout, "a message box")
        return box, " ".join(a11y.wait_for(lambda: a11y.texts_below(box), 5, "its text"))

    def answer(self, box, button_name):
        self.desktop.click(*a11y.centre(a11y.find(box, name=button_name, role_name="push button")))
        a11y.wait_for(lambda: a11y.gone(box), 5, "the message box to close")

    def close(self):
        self.program.kill()
