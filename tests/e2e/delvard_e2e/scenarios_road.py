"""One editing run end to end: first start, opening, painting, zoom, grid, save."""

import shutil
import subprocess
import time
from pathlib import Path

from . import a11y
from .editor import CAPTION
from .mapbytes import ExpectedMap, describe_difference, digest, tree_digests

SAMPLES = Path(__file__).resolve().parents[3] / "samples"

# Owner colours of the owner pictures, which show through the terrain
# pictures' transparent corners.
OWNER_RGB = {"Hero": (255, 255, 255), "Neutral": (192, 192, 192), "Player": (255, 0, 0),
             "Keeper 1": (0, 0, 255), "Keeper 2": (0, 255, 0), "Keeper 3": (255, 255, 0),
             "Keeper 4": (255, 0, 255)}


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def steady_digest(desktop, x, y, w, h):
    """A digest of a screen area once two grabs in a row agree."""
    def agreed():
        first = desktop.grab().crop_digest(x, y, w, h)
        second = desktop.grab().crop_digest(x, y, w, h)
        return (first,) if first == second else None
    return a11y.wait_for(agreed, 5, "the screen to settle")[0]


def screen_becomes(desktop, box, predicate, message):
    try:
        a11y.wait_for(lambda: predicate(desktop.grab().crop_digest(*box)), 3, message)
    except a11y.Timeout:
        raise AssertionError(message) from None


def pixels_become(desktop, wanted, message):
    """wanted: {(x, y): predicate of the pixel's (r, g, b)}; waits for all to hold."""
    def holds():
        shot = desktop.grab()
        return all(test(shot.pixel(x, y)) for (x, y), test in wanted.items())
    try:
        a11y.wait_for(holds, 3, message)
    except a11y.Timeout:
        raise AssertionError(message) from None


def map_folder_with(ctx, *samples, name="maps"):
    folder = ctx.root / name
    folder.mkdir(parents=True, exist_ok=True)
    for sample in samples:
        shutil.copy2(SAMPLES / sample, folder / sample)
    return folder


def program_remembering(ctx, map_folder):
    program = ctx.program_folder()
    (program / "Delvard.ini").write_text(f"[Paths]\nMap={map_folder}\n", encoding="utf-8")
    return program


def frameless(desktop, pid, window):
    """Whether the window's X window asks the window manager for no decorations."""
    geometry = a11y.extents(window)
    for window in desktop.xdotool("search", "--onlyvisible", "--pid", pid).split():
        info = subprocess.run(["xwininfo", "-display", desktop.display, "-id", window],
                              capture_output=True, text=True).stdout
        numbers = {line.split(":")[0].strip(): line.split(":")[1].strip()
                   for line in info.splitlines() if ":" in line}
        if (int(numbers.get("Absolute upper-left X", -1)), int(numbers.get("Absolute upper-left Y", -1)),
                int(numbers.get("Width", -1)), int(numbers.get("Height", -1))) != tuple(geometry):
            continue
        hints = subprocess.run(["xprop", "-display", desktop.display, "-id", window,
                                "_MOTIF_WM_HINTS"], capture_output=True, text=True).stdout
        if "=" in hints:
            values = [int(v.strip(), 0) for v in hints.split("=")[1].split(",")]
            # flags bit 1: decorations given; decorations 0: none at all.
            if values[0] & 2 and values[2] == 0:
                return True
    return False


def first_run_then_second_run(ctx):
    program = ctx.program_folder()
    settings = program / "Delvard.ini"
    check(not settings.exists(), "the fresh program folder already has settings")

    editor = ctx.start(program)
    about = editor.window("About Delvard")
    check(editor.window_titles() == ["About Delvard"],
          f"first window(s) on the first run: {editor.window_titles()}")
    check(frameless(ctx.desktop, editor.program.pid, about), "the About box asks for a title bar")
    check(settings.exists() and settings.stat().st_size == 0,
          "an empty Delvard.ini should exist while the About box is up")
    ok = a11y.find(about, name="OK", role_name="push button")
    check(ok is not None, "the About box has no OK button")
    ctx.desktop.click(*a11y.centre(ok))

    chooser = editor.window("Get Map File Path")
    check(CAPTION not in editor.window_titles(), "the main window shows before the chooser is closed")
    ctx.desktop.click(*a11y.centre(a11y.find(chooser, name="OK", role_name="push button")))
    editor.main()
    a11y.wait_for(lambda: settings.stat().st_size > 0, 5, "the settings to be written")
    text = settings.read_text(encoding="utf-8")
    ctx.note(f"Delvard.ini after the first run: {text!r}")
    check(text.splitlines()[:2] == ["[Paths]", f"Map={program}"],
          f"Delvard.ini holds {text!r}, expected [Paths] Map={program}")
    for tip in ("Heart", "Hero", "Zoom in", "Grid On/Off"):
        check(not editor.enabled(tip), f'"{tip}" is enabled before a map is open')
    editor.menu("File", "Exit")
    check(editor.program.wait_exit() == 0, "File > Exit did not end the program")

    before = digest(settings)
    second = ctx.start(program)
    second.main()
    check(second.no_window_but([CAPTION]),
          f"the second run showed {second.window_titles()}, expected the main window alone")
    check(digest(settings) == before, "the second run changed Delvard.ini")
    second.close()


def editing_road(ctx):
    maps = map_folder_with(ctx, "small-10x8Map.kld")
    (maps / "notes.txt").write_text("not a map\n")
    shutil.copy2(SAMPLES / "small-10x8Map.kld", maps / "small-10x8.kld")  # wrong ending
    map_file = maps / "small-10x8Map.kld"
    original = map_file.read_bytes()
    expected = ExpectedMap(original)
    editor = ctx.start(program_remembering(ctx, maps))
    desktop = ctx.desktop
    editor.main()

    # A cancelled Open changes nothing.
    editor.open_dialog()
    desktop.key("Escape")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the dialog to close")
    check(editor.menu_item_enabled("File", "Open") and editor.map_widget() is None,
          "a cancelled Open changed the editor")

    dialog = editor.open_dialog()
    def listing_with_map():
        names = editor.dialog_listing(dialog)
        return names if "small-10x8Map.kld" in names else None

    listed = a11y.wait_for(listing_with_map, 5, '"small-10x8Map.kld" in the dialog\'s list')
    check("notes.txt" not in listed and "small-10x8.kld" not in listed,
          f"the dialog lists files that are no maps: {sorted(listed)}")
    look_in = a11y.find(dialog, role_name="combo box", name=str(maps))
    check(look_in is not None, "the dialog does not start in the map folder")
    time.sleep(0.2)
    desktop.type_text(str(map_file))
    desktop.key("Return")
    widget = editor.wait_map(10, 8)
    check(not editor.menu_item_enabled("File", "Open"), "File > Open stays enabled after a map is shown")
    desktop.key("Escape")

    # The whole map shows: a black margin round 10 x 8 cells of 72 px.
    editor.park_pointer()
    x, y, w, h = a11y.extents(widget)
    vx, vy, vw, vh = a11y.extents(editor.viewport())
    check(x >= vx and y >= vy and x + w <= vx + vw and y + h <= vy + vh,
          f"the map window {w} x {h} does not fit its viewport {vw} x {vh}")
    black = (0, 0, 0)
    pixels_become(desktop, {
        (x + 36, y + 36): lambda p: p == black,
        (x + w - 36, y + h - 36): lambda p: p == black,
        (x + 72 + 36, y + 72 + 36): lambda p: p != black,
        (x + 10 * 72 + 36, y + 8 * 72 + 36): lambda p: p != black,
    }, "the map is not shown whole: black margins round drawn cells (1, 1) to (8, 10)")

    for tip in ("Heart", "Hero", "Grid On/Off"):
        check(editor.pressed(tip), f'"{tip}" is not pressed after the load')
    for tip in ("Sold Rock", "Gems", "Zoom in"):
        check(not editor.enabled(tip), f'"{tip}" is enabled after the load')
    check(editor.enabled("Zoom out") and editor.enabled("Hero Gate 1"), "load left buttons greyed")

    def paint(row, column, terrain, owner):
        changed = expected.click(row, column, terrain, owner)
        editor.click_cell(row, column)
        return changed

    def shows(row, column, terrain, owner):
        said = editor.hover_cell(row, column)
        check(said == f"{terrain}, {owner}",
              f"cell ({row}, {column}) reports {said!r}, expected {terrain}, {owner}")

    # A single cell.
    editor.choose("Treasury", "Keeper 1")
    paint(2, 2, "Treasury", "Keeper 1")
    shows(2, 2, "Treasury", "Keeper 1")
    editor.park_pointer()
    ox, oy = editor.cell_origin(2, 2)
    pixels_become(desktop, {(ox + 4, oy + 4): lambda p: p == OWNER_RGB["Keeper 1"]},
                  "the painted cell does not show the Keeper 1 colour")

    # A Heart block, 5 x 5 round the click.
    editor.choose("Heart", "Player")
    changed = paint(5, 5, "Heart", "Player")
    check(len(changed) == 25, "the expected Heart block should be 25 cells")
    for r, c in ((3, 3), (3, 7), (7, 3), (7, 7), (5, 5)):
        shows(r, c, "Heart", "Player")
    check(editor.hover_cell(2, 5) != "Heart, Player", "the Heart block reached row 2")
    editor.park_pointer()
    corners = {}
    for r, c in ((3, 3), (7, 7)):
        ox, oy = editor.cell_origin(r, c)
        corners[(ox + 4, oy + 4)] = lambda p: p == OWNER_RGB["Player"]
    pixels_become(desktop, corners, "the Heart block's corner cells are not red")

    # The hover preview: a red dashed outline round the block a refused Heart
    # aims at (rows 1 to 5, columns 6 to 10 here), a cyan one round an
    # accepted block.
    mx, my, _, _ = a11y.extents(widget)

    def share_on_line(y, x0, x1, rgb):
        return lambda shot: sum(shot.pixel(x, y) == rgb for x in range(x0, x1)) / (x1 - x0)

    refused_top = share_on_line(my + 72 + 1, mx + 6 * 72, mx + 11 * 72, (255, 0, 0))
    accepted_top = share_on_line(my + 3 * 72 + 1, mx + 3 * 72, mx + 8 * 72, (0, 255, 255))
    editor.hover_cell(3, 8)
    a11y.wait_for(lambda: refused_top(desktop.grab()) >= 0.3, 3,
                  "a red outline over the block a refused Heart aims at")
    editor.hover_cell(5, 5)
    a11y.wait_for(lambda: accepted_top(desktop.grab()) >= 0.9 and refused_top(desktop.grab()) < 0.05,
                  3, "a cyan outline over an accepted Heart block, and no red one")

    # A Heart refused next to the ring: nothing changes on screen.
    before = editor.hover_cell(3, 8)
    editor.park_pointer()
    mx, my, mw, mh = a11y.extents(widget)
    region = steady_digest(desktop, mx, my, mw, mh)
    check(paint(3, 8, "Heart", "Player") == [], "the model accepted a refused Heart")
    check(editor.hover_cell(3, 8) == before, "a refused Heart changed the clicked cell")
    editor.park_pointer()
    screen_becomes(desktop, (mx, my, mw, mh), lambda d: d == region, "a refused Heart changed the map")

    # A click on the ring changes nothing either.
    editor.choose("Portal", "Player")
    ring_before = editor.hover_cell(1, 4)
    paint(1, 4, "Portal", "Player")
    check(editor.hover_cell(1, 4) == ring_before, "a click on the ring changed the cell")

    # Natural terrain with Neutral; then another owner falls back to Heart.
    editor.choose("Gold", "Neutral")
    paint(2, 9, "Gold", "Neutral")
    shows(2, 9, "Gold", "Neutral")
    editor.press("Player")
    editor.wait_tools(terrain="Heart", owner="Player")
    check(editor.pressed("Heart") and not editor.pressed("Gold"), "Heart did not take Gold's place")
    check(not editor.enabled("Gold") and not editor.enabled("Hero Gate 1"),
          "Player leaves Gold or the hero gates available")

    # A hero gate with Hero; Keeper 2 then falls back to Heart too.
    editor.choose("Hero Gate 3", "Hero")
    paint(7, 2, "Hero Gate 3", "Hero")
    shows(7, 2, "Hero Gate 3", "Hero")
    editor.press("Keeper 2")
    editor.wait_tools(terrain="Heart", owner="Keeper 2")
    check(editor.pressed("Heart") and not editor.enabled("Hero Gate 3"), "no fallback from Hero Gate 3")
    paint(7, 9, "Heart", "Keeper 2")  # refused: column 9 > width - 3
    editor.choose("Mana", "Keeper 4")
    paint(6, 8, "Mana", "Keeper 4")
    shows(6, 8, "Mana", "Keeper 4")

    # Zoom to every size and back, with the map window following.
    for cell in (64, 56, 48, 40, 32, 24):
        editor.press("Zoom out")
        editor.wait_tools(cell=cell)
        editor.wait_map(10, 8, cell)
        check(editor.enabled("Zoom in"), f"Zoom in greyed at {cell} px")
    check(not editor.enabled("Zoom out"), "Zoom out still enabled at 24 px")
    shows(6, 8, "Mana", "Keeper 4")  # cells keep their numbers at every size
    for cell in (32, 40, 48, 56, 64, 72):
        editor.press("Zoom in")
        editor.wait_tools(cell=cell)
        editor.wait_map(10, 8, cell)
    check(not editor.enabled("Zoom in") and editor.enabled("Zoom out"), "zoom buttons at 72 px")

    # Grid off and on: the line between two cells comes and goes.
    editor.park_pointer()
    ox, oy = editor.cell_origin(4, 8)
    grid_box = (ox - 2, oy - 2, 76, 76)
    with_grid = steady_digest(desktop, *grid_box)
    editor.press("Grid On/Off")
    editor.wait_tools(grid=False)
    check(not editor.pressed("Grid On/Off"), "Grid On/Off shown pressed with the grid off")
    editor.park_pointer()
    screen_becomes(desktop, grid_box, lambda d: d != with_grid,
                   "switching the grid off changed nothing on screen")
    editor.press("Grid On/Off")
    editor.wait_tools(grid=True)
    check(editor.pressed("Grid On/Off"), "Grid On/Off not pressed with the grid on")
    editor.park_pointer()
    screen_becomes(desktop, grid_box, lambda d: d == with_grid, "the grid did not come back as it was")

    check(map_file.read_bytes() == original, "the map file changed before Save")
    editor.menu("File", "Save")
    a11y.wait_for(lambda: map_file.read_bytes() != original, 10, "the map file to be written")
    time.sleep(0.3)
    saved = map_file.read_bytes()
    check(saved == expected.bytes(), "saved map differs: " + describe_difference(saved, expected.bytes()))
    check(not editor.menu_item_enabled("File", "Save"), "Save is still enabled after saving")
    ctx.note(f"saved {len(saved)} bytes, identical to the expected bytes")


def help_windows_keep_the_map(ctx):
    maps = map_folder_with(ctx, "heart-7x7Map.kld", "trailing-12x9Map.kld")
    map_file = maps / "trailing-12x9Map.kld"
    original = map_file.read_bytes()
    expected = ExpectedMap(original)
    program = program_remembering(ctx, maps)
    editor = ctx.start(program)
    editor.main()
    widget = editor.open_map(map_file, 12, 9)
    editor.choose("Libaray", "Keeper 3")
    editor.click_cell(2, 3)
    expected.click(2, 3, "Libaray", "Keeper 3")
    check(editor.hover_cell(2, 3) == "Libaray, Keeper 3", "the library was not painted")
    editor.park_pointer()
    mx, my, mw, mh = a11y.extents(widget)

    editor.menu("Help", "Read Me")
    viewer = editor.window("ReadMe.txt")
    shown = a11y.wait_for(lambda: a11y.text_of(a11y.find(viewer, name="Read-me text")), 5, "the read-me text")
    on_disk = (program / "ReadMe.txt").read_text(encoding="utf-8")
    check(shown.strip() == on_disk.strip(),
          f"the viewer shows {len(shown)} characters, ReadMe.txt has {len(on_disk)}")
    vx, vy, vw, vh = a11y.extents(viewer)
    # The viewer is modeless: the map still takes clicks while it is open.
    editor.choose("Temple", "Keeper 3")
    spot = next((r, c) for r in range(2, 9) for c in range(2, 12)
                if not (vx - 72 <= editor.cell_point(r, c)[0] <= vx + vw + 72
                        and vy - 72 <= editor.cell_point(r, c)[1] <= vy + vh + 72))
    editor.click_cell(*spot)
    expected.click(*spot, "Temple", "Keeper 3")
    check(editor.hover_cell(*spot) == "Temple, Keeper 3", "a click with the read-me open did nothing")
    editor.park_pointer()
    region = steady_digest(ctx.desktop, mx, my, mw, mh)

    editor.menu("Help", "Read Me")  # again: the one viewer comes forward
    time.sleep(0.5)
    check(editor.window_titles().count("ReadMe.txt") == 1,
          f"windows after a second Read Me: {editor.window_titles()}")

    editor.menu("Help", "About")
    about = editor.window("About Delvard")
    ctx.desktop.click(*a11y.centre(a11y.find(about, name="OK", role_name="push button")))
    a11y.wait_for(lambda: "About Delvard" not in editor.window_titles(), 5, "the About box to close")
    editor.park_pointer()
    screen_becomes(ctx.desktop, (mx, my, mw, mh), lambda d: d == region, "About changed the map on screen")
    check(editor.hover_cell(2, 3) == "Libaray, Keeper 3", "About changed a painted cell")

    editor.menu("File", "Save")
    a11y.wait_for(lambda: map_file.read_bytes() != original, 10, "the map file to be written")
    time.sleep(0.3)
    saved = map_file.read_bytes()
    check(len(saved) == len(original), "Save changed the file's length (bytes after the last record)")
    check(saved == expected.bytes(), "saved map differs: " + describe_difference(saved, expected.bytes()))


def exit_with_unsaved_edits(ctx):
    maps = map_folder_with(ctx, "heart-7x7Map.kld")
    map_file = maps / "heart-7x7Map.kld"
    program = program_remembering(ctx, maps)
    before = tree_digests(ctx.root)
    editor = ctx.start(program)
    editor.main()
    editor.open_map(map_file, 7, 7)
    editor.choose("Heart", "Keeper 1")
    editor.click_cell(4, 4)
    check(editor.hover_cell(4, 4) == "Heart, Keeper 1", "the Heart was not placed")
    editor.menu("File", "Exit")
    check(editor.program.wait_exit(5) is not None, "File > Exit with unsaved edits did not end the program")
    after = tree_digests(ctx.root)
    changed = [k for k in before if before[k] != after.get(k)]
    check(digest(map_file) == before[str(map_file.relative_to(ctx.root))] and not changed,
          f"files changed by an unsaved run: {changed}")


def map_files_command(ctx):
    program = ctx.program_folder()
    maps = program / "Maps"
    maps.mkdir()
    shutil.copy2(SAMPLES / "heart-7x7Map.kld", maps / "heart-7x7Map.kld")
    (program / "Delvard.ini").write_text(f"[Paths]\nMap={program}\n", encoding="utf-8")
    editor = ctx.start(program)
    editor.main()
    editor.menu("Path", "Map Files")
    chooser = editor.window("Get Map File Path")
    tree = a11y.find(chooser, name="Folders")
    tx, ty, tw, th = a11y.extents(tree)

    def shown_folder(name):
        for index in range(tree.childCount):
            cell = tree.getChildAtIndex(index)
            if cell is not None and cell.name == name:
                x, y, w, h = a11y.extents(cell)
                if w > 0 and ty <= y and y + h <= ty + th:
                    return cell
        return None

    # The list opens at the map folder: it is selected and in view.
    current = a11y.wait_for(lambda: shown_folder(program.name), 5,
                            f'the map folder "{program.name}" in view in the folder list')
    check(a11y.has_state(current, "selected"), "the map folder is not the selected one")
    cell = a11y.wait_for(lambda: shown_folder("Maps"), 5, 'the subfolder "Maps" in the folder list')
    ctx.desktop.click(*a11y.centre(cell))
    time.sleep(0.2)
    ctx.desktop.click(*a11y.centre(a11y.find(chooser, name="OK", role_name="push button")))
    a11y.wait_for(lambda: f"Map={maps}" in (program / "Delvard.ini").read_text(encoding="utf-8"), 5,
                  "the new folder in Delvard.ini")
    dialog = editor.open_dialog()
    check(a11y.find(dialog, role_name="combo box", name=str(maps)) is not None,
          "the open dialog does not start in the folder just chosen")
    check("heart-7x7Map.kld" in a11y.wait_for(lambda: editor.dialog_listing(dialog), 5, "a listing"),
          "the map in the chosen folder is not listed")
    ctx.desktop.key("Escape")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the dialog to close")
    check(editor.menu_item_enabled("File", "Open"), "a cancelled Open disabled File > Open")


SCENARIOS = [first_run_then_second_run, map_files_command, editing_road, help_windows_keep_the_map,
             exit_with_unsaved_edits]
