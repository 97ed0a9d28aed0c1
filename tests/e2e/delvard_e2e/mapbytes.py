"""What a saved map file must hold, worked out click by click apart from
the program's own code tables: a wrong entry there shows up as a difference
here. The standard editing run's bytes are read from its fixture."""

import re
from collections import namedtuple
from pathlib import Path

from desktop_driver import a11y

HEADER, RECORD = 36, 4
STANDARD_EDIT = Path(__file__).resolve().parents[2] / "fixtures" / "standard-edit.txt"
TERRAIN_CODES = {
    "Heart": 0x0E, "Portal": 0x0C, "Treasury": 0x0A, "Lair": 0x0B, "Libaray": 0x0F,
    "Temple": 0x16, "Mana": 0x20, "Gold": 0x06, "Water": 0x04, "Hero Gate 2": 0x1D,
    "Hero Gate 3": 0x21}
OWNER_CODES = {"Hero": 1, "Neutral": 2, "Player": 3, "Keeper 1": 4, "Keeper 2": 5,
               "Keeper 3": 6, "Keeper 4": 7}


class ExpectedMap:
    """The bytes Save must write, as cells are painted one click at a time."""

    def __init__(self, original: bytes):
        self.data = bytearray(original)
        self.width, self.height = original[20], original[24]
        for index in range(self.width * self.height):
            self.data[HEADER + RECORD * index + 2:HEADER + RECORD * index + 4] = b"\x01\x01"

    def click(self, row, column, terrain, owner):
        """Applies one cell click; returns the cells it changes: none on the
        outer ring, nor for a Heart whose 5 x 5 block would reach it."""
        reach = 2 if terrain == "Heart" else 0
        if not (2 + reach <= row < self.height - reach and 2 + reach <= column < self.width - reach):
            return []
        cells = [(r, c) for r in range(row - reach, row + reach + 1)
                 for c in range(column - reach, column + reach + 1)]
        for r, c in cells:
            offset = HEADER + RECORD * ((r - 1) * self.width + (c - 1))
            self.data[offset:offset + 2] = bytes([TERRAIN_CODES[terrain], OWNER_CODES[owner]])
        return cells

    def bytes(self):
        return bytes(self.data)


Click = namedtuple("Click", "row column terrain owner refused")


class StandardEdit:
    """The standard editing run of tests/fixtures/standard-edit.txt: a sample
    map, the clicks made on it in order, and the bytes Save must leave."""

    CLICK = re.compile(r"(paint|refused) (\d+) (\d+) (.+), (.+)")

    def __init__(self, path=STANDARD_EDIT):
        files, self.clicks = {}, []
        for number, line in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
            if not line.strip() or line.startswith("#"):
                continue
            key, _, value = line.partition(" ")
            if key in ("map", "saved") and value:
                files[key] = Path(path).parent / value
            elif match := self.CLICK.fullmatch(line):
                kind, row, column, terrain, owner = match.groups()
                self.clicks.append(Click(int(row), int(column), terrain, owner, kind == "refused"))
            else:
                raise ValueError(f"{path}:{number}: cannot read {line!r}")
        if set(files) != {"map", "saved"} or not self.clicks:
            raise ValueError(f"{path} needs a map, a saved file and clicks")
        self.map, self.saved_file = files["map"].resolve(), files["saved"].resolve()
        self.original = self.map.read_bytes()
        self.width, self.height = self.original[20], self.original[24]

    def saved(self):
        return self.saved_file.read_bytes()


def describe_difference(actual: bytes, expected: bytes, shown=8):
    if len(actual) != len(expected):
        return f"length {len(actual)}, expected {len(expected)}"
    offsets = [i for i, (a, e) in enumerate(zip(actual, expected)) if a != e]
    return f"{len(offsets)} bytes differ: " + "; ".join(
        f"offset {i}: 0x{actual[i]:02X}, expected 0x{expected[i]:02X}" for i in offsets[:shown])


def wait_for_bytes(path, expected, timeout=20, running=lambda: None, interval=0.05):
    """Waits for a save to leave exactly the expected bytes in path; running()
    is called before every look and raises a11y.Abort once the program that
    saves is gone."""
    def saved():
        running()
        return path.read_bytes() == expected

    try:
        a11y.wait_for(saved, timeout, "the saved bytes", interval)
    except a11y.Timeout:
        raise AssertionError("saved map differs: " + describe_difference(path.read_bytes(), expected)) from None
