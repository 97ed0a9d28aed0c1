"""A 255 x 255 map under a few thousand clicks, zoom cycles and grid toggles.

Asserted are the saved bytes (exactly the scripted clicks) and the memory:
after the first cycle has built its caches, VmRSS may not keep growing.
Round trips (input sent until the program shows its effect) are reported,
never asserted: a busy machine would fail a good change.
"""

import random
import time

from . import a11y
from .desktop import CLICK
from .mapbytes import ExpectedMap, describe_difference
from .scenarios_road import check, map_folder_with, program_remembering

CYCLES = 5
BATCHES = 16  # of 40 clicks each, per cycle
TOOLS = [("Heart", "Player"), ("Portal", "Keeper 1"), ("Gold", "Neutral"),
         ("Hero Gate 2", "Hero"), ("Lair", "Keeper 4"), ("Water", "Neutral"),
         ("Temple", "Keeper 3"), ("Heart", "Keeper 2")]


def round_trip(act, done):
    began = time.monotonic()
    act()
    a11y.wait_for(done, 10, "the program to answer", interval=0.002)
    return (time.monotonic() - began) * 1000


def visible_cells(editor, cell):
    """Cells whose middle lies well inside the viewport, with their screen points."""
    vx, vy, vw, vh = a11y.extents(editor.viewport())
    mx, my, mw, mh = a11y.extents(editor.map_widget())
    return [(r, c, mx + c * cell + cell // 2, my + r * cell + cell // 2)
            for r in range(1, mh // cell - 1) for c in range(1, mw // cell - 1)
            if vx + cell <= mx + c * cell + cell // 2 <= vx + vw - cell
            and vy + cell <= my + r * cell + cell // 2 <= vy + vh - cell]


def large_map_under_load(ctx):
    maps = map_folder_with(ctx, "large-255x255Map.kld")
    map_file = maps / "large-255x255Map.kld"
    expected = ExpectedMap(map_file.read_bytes())
    editor = ctx.start(program_remembering(ctx, maps))
    desktop = ctx.desktop
    editor.main()
    editor.open_map(map_file, 255, 255)
    rng = random.Random(2024)
    times = {}
    rss = [editor.program.rss_kib()]
    buttons = {}

    def press(tip):
        buttons.setdefault(tip, a11y.centre(editor.button(tip)))
        return lambda: desktop.xdotool("mousemove", *buttons[tip], *CLICK)

    def measure(kind, act, done):
        times.setdefault(kind, []).append(round_trip(act, done))

    for cycle in range(CYCLES):
        for cell in (64, 56, 48, 40, 32, 24):
            measure("zoom", press("Zoom out"), lambda: editor.tools()[2] == cell)
        cells = visible_cells(editor, 24)
        check(len(cells) > 500, f"only {len(cells)} cells visible at 24 px")
        for batch in range(BATCHES):
            terrain, owner = TOOLS[(cycle + batch) % len(TOOLS)]
            editor.choose(terrain, owner)
            arguments = []
            for row, column, x, y in (rng.choice(cells) for _ in range(40)):
                arguments += ["mousemove", x, y, *CLICK]
                expected.click(row, column, terrain, owner)
            desktop.xdotool(*arguments)
            # One timed click on a cell the tool changes; its report ends the batch.
            row, column, x, y = next(c for c in rng.sample(cells, len(cells))
                                     if expected.click_changes(c[0], c[1], terrain))
            expected.click(row, column, terrain, owner)
            wanted = f"Row {row}, column {column}: {terrain}, {owner}"
            measure("cell click", lambda: desktop.xdotool("mousemove", x, y, *CLICK),
                    lambda: editor.cell_text() == wanted)
        editor.park_pointer()
        measure("grid", press("Grid On/Off"), lambda: not editor.tools()[3])
        for cell in (32, 40, 48, 56, 64, 72):
            measure("zoom", press("Zoom in"), lambda: editor.tools()[2] == cell)
        measure("grid", press("Grid On/Off"), lambda: editor.tools()[3])
        rss.append(editor.program.rss_kib())

    for kind, values in sorted(times.items()):
        ctx.note(f"{kind}: n={len(values)}, median {sorted(values)[len(values) // 2]:.1f} ms, "
                 f"max {max(values):.1f} ms, measuring included")
    ctx.note("VmRSS per cycle (KiB, first = after open): " + ", ".join(map(str, rss)))
    # A leak grows by the same amount every cycle; the margin is far above
    # what the allocator's own bookkeeping moves.
    check(rss[-1] - rss[2] <= 8192, f"VmRSS grew from cycle 2 to cycle {CYCLES}: {rss}")

    editor.menu("File", "Save")
    try:
        a11y.wait_for(lambda: map_file.read_bytes() == expected.bytes(), 20, "the saved bytes")
    except a11y.Timeout:
        raise AssertionError(describe_difference(map_file.read_bytes(), expected.bytes())) from None


SCENARIOS = [large_map_under_load]
