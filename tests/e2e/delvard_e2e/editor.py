"""The editor as a person sees it: its windows, menus, palette and map.

Positions come from the accessibility tree (widgets) and from the map
window's position and the cell size the status bar reports (cells); the
pointer and the keys go through xdotool.
"""

import re
import time

from . import a11y
from .desktop import Program

CAPTION = "Delvard Version 2.0.0"


class Editor:
    def __init__(self, desktop, program_folder, home):
        self.desktop = desktop
        self.program = Program(desktop, program_folder, home)
        self.app = self.program.app

    # --- windows ---------------------------------------------------------

    def window(self, title, timeout=10):
        return a11y.wait_for(lambda: a11y.window_titled(self.app, title), timeout,
                             f'the window "{title}"')

    def main(self, timeout=10):
        return self.window(CAPTION, timeout)

    def window_titles(self):
        return [w.name for w in a11y.top_windows(self.app)]

    def other_window(self, timeout=10, besides=(CAPTION,)):
        """The first showing window whose title is not in besides."""
        return a11y.wait_for(
            lambda: next((w for w in a11y.top_windows(self.app) if w.name not in besides), None),
            timeout, "a new window")

    def no_window_but(self, titles, settle=1.0):
        time.sleep(settle)
        return sorted(self.window_titles()) == sorted(titles)

    # --- menus -----------------------------------------------------------

    def menu(self, menu_name, item_name):
        main = self.main()
        bar_item = a11y.find(main, name=menu_name, role_name="menu item", max_depth=2)
        self.desktop.click(*a11y.centre(bar_item))
        item = a11y.wait_for(lambda: self._shown_menu_item(bar_item, item_name), 5,
                             f"the menu item {menu_name} > {item_name}")
        self.desktop.click(*a11y.centre(item))

    @staticmethod
    def _shown_menu_item(bar_item, item_name):
        item = a11y.find(bar_item, name=item_name, role_name="menu item", max_depth=3)
        if item is None:
            return None
        x, y, w, h = a11y.extents(item)
        return item if w > 0 and h > 0 else None

    def menu_item_enabled(self, menu_name, item_name):
        bar_item = a11y.find(self.main(), name=menu_name, role_name="menu item", max_depth=2)
        item = a11y.find(bar_item, name=item_name, role_name="menu item", max_depth=3)
        return a11y.has_state(item, "enabled")

    # --- palette ---------------------------------------------------------

    def button(self, tip):
        toolbar = a11y.find(self.main(), name="Palette", role_name="tool bar", max_depth=2)
        found = a11y.find(toolbar, name=tip, role_name="check box", max_depth=1)
        if found is None:
            raise AssertionError(f'no palette button "{tip}"')
        return found

    def press(self, tip):
        button = self.button(tip)
        if not a11y.has_state(button, "enabled"):
            raise AssertionError(f'palette button "{tip}" is disabled')
        self.desktop.click(*a11y.centre(button))

    def pressed(self, tip):
        return a11y.has_state(self.button(tip), "checked")

    def enabled(self, tip):
        return a11y.has_state(self.button(tip), "enabled")

    def choose(self, terrain, owner):
        """Owner first: it decides which terrains can be chosen."""
        self.press(owner)
        self.wait_tools(owner=owner)
        self.press(terrain)
        self.wait_tools(terrain=terrain, owner=owner)

    # --- status bar ------------------------------------------------------

    def _status_labels(self):
        bar = a11y.find(self.main(), role_name="status bar", max_depth=2)
        return [c for c in a11y.children(bar) if a11y.role(c) == "label"]

    def cell_text(self):
        return self._status_labels()[0].name

    def tools_text(self):
        return self._status_labels()[1].name

    def tools(self):
        """(terrain, owner, cell pixels, grid shown) as the status bar says."""
        text = self.tools_text()
        match = re.match(r"Terrain: (.*?)   Owner: (.*?)   Cell: (\d+) px(   Grid)?$", text)
        if not match:
            raise AssertionError(f"unexpected tools text {text!r}")
        return match.group(1), match.group(2), int(match.group(3)), bool(match.group(4))

    def wait_tools(self, terrain=None, owner=None, cell=None, grid=None, timeout=5):
        def matches():
            t, o, c, g = self.tools()
            return ((terrain is None or t == terrain) and (owner is None or o == owner)
                    and (cell is None or c == cell) and (grid is None or g == grid))
        return a11y.wait_for(matches, timeout,
                             f"tools terrain={terrain} owner={owner} cell={cell} grid={grid}"
                             f" (status bar: {self.tools_text()!r})")

    # --- map -------------------------------------------------------------

    def map_widget(self):
        """The map window: the widget inside the main window's scroll area."""
        main = self.main()
        for child in a11y.children(main):
            if a11y.role(child) == "filler":
                for viewport in a11y.children(child):
                    for inner in a11y.children(viewport):
                        return inner
        return None

    def viewport(self):
        main = self.main()
        for child in a11y.children(main):
            if a11y.role(child) == "filler":
                for viewport in a11y.children(child):
                    return viewport
        return None

    def wait_map(self, width, height, cell=72, timeout=20):
        def shown():
            widget = self.map_widget()
            if widget is None:
                return None
            x, y, w, h = a11y.extents(widget)
            return widget if (w, h) == ((width + 2) * cell, (height + 2) * cell) else None
        return a11y.wait_for(shown, timeout, f"a {width} x {height} map at {cell} px")

    def cell_point(self, row, column, cell=None):
        """Screen point in the middle of a cell (rows and columns from 1)."""
        if cell is None:
            cell = self.tools()[2]
        x, y, _, _ = a11y.extents(self.map_widget())
        return x + column * cell + cell // 2, y + row * cell + cell // 2

    def cell_origin(self, row, column, cell=None):
        if cell is None:
            cell = self.tools()[2]
        x, y, _, _ = a11y.extents(self.map_widget())
        return x + column * cell, y + row * cell

    def click_cell(self, row, column):
        self.desktop.click(*self.cell_point(row, column))

    def hover_cell(self, row, column):
        self.desktop.move(*self.cell_point(row, column))
        prefix = f"Row {row}, column {column}: "
        text = a11y.wait_for(lambda: (lambda t: t if t.startswith(prefix) else None)(
            self.cell_text()), 5, f"the status bar to report row {row}, column {column}")
        return text[len(prefix):]

    def park_pointer(self):
        """Moves the pointer off the map, so no hover outline is drawn."""
        x, y, w, h = a11y.extents(self._status_labels()[0])
        self.desktop.move(x + 5, y + h // 2)
        time.sleep(0.15)

    # --- file dialog -----------------------------------------------------

    def open_dialog(self):
        self.menu("File", "Open")
        return self.window("Open")

    @staticmethod
    def dialog_listing(dialog):
        names = set()
        for node in a11y.walk(dialog):
            if a11y.role(node) in ("table cell", "list item") and node.name:
                names.add(node.name)
        return names

    def open_map(self, path_typed, width, height):
        dialog = self.open_dialog()
        time.sleep(0.3)
        self.desktop.type_text(str(path_typed))
        self.desktop.key("Return")
        return self.wait_map(width, height)

    # --- message boxes ---------------------------------------------------

    def message_box(self, timeout=10):
        """A message box: it carries the main window's caption, so it is
        told apart by its role."""
        box = a11y.wait_for(
            lambda: next((w for w in a11y.top_windows(self.app)
                          if a11y.role(w) in ("alert", "dialog") and w.name == CAPTION), None),
            timeout, "a message box")
        time.sleep(0.2)
        return box, a11y.texts_below(box)

    def answer(self, box, button_name):
        button = a11y.find(box, name=button_name, role_name="push button")
        if button is None:
            raise AssertionError(f'the message box has no "{button_name}" button')
        self.desktop.click(*a11y.centre(button))

    def close(self):
        self.program.kill()
