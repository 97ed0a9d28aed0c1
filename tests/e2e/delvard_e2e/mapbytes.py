"""What a saved map file must hold, worked out from the original bytes.

Kept apart from the program's own code tables on purpose: a wrong entry
there must show up as a difference here.
"""

import hashlib
from pathlib import Path

from desktop_driver import a11y

HEADER, RECORD = 36, 4
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

    def click_changes(self, row, column, terrain):
        """Whether a click there with terrain is taken: never on the outer
        ring, and the Heart's 5 x 5 block must fit inside it."""
        margin = 4 if terrain == "Heart" else 2
        return margin <= row <= self.height + 1 - margin and margin <= column <= self.width + 1 - margin

    def click(self, row, column, terrain, owner):
        """Applies one cell click; returns the cells it changes."""
        if not self.click_changes(row, column, terrain):
            return []
        reach = 2 if terrain == "Heart" else 0
        cells = [(r, c) for r in range(row - reach, row + reach + 1)
                 for c in range(column - reach, column + reach + 1)]
        for r, c in cells:
            offset = HEADER + RECORD * ((r - 1) * self.width + (c - 1))
            self.data[offset:offset + 2] = bytes([TERRAIN_CODES[terrain], OWNER_CODES[owner]])
        return cells

    def bytes(self):
        return bytes(self.data)


def describe_difference(actual: bytes, expected: bytes):
    if len(actual) != len(expected):
        return f"length {len(actual)}, expected {len(expected)}"
    offset = next((i for i, (a, e) in enumerate(zip(actual, expected)) if a != e), None)
    if offset is None:
        return "identical"
    return f"first difference at offset {offset}: 0x{actual[offset]:02X}, expected 0x{expected[offset]:02X}"


def wait_for_bytes(path, expected, timeout=20):
    """Waits for a save to leave exactly the expected bytes in path."""
    try:
        a11y.wait_for(lambda: path.read_bytes() == expected, timeout, "the saved bytes")
    except a11y.Timeout:
        raise AssertionError("saved map differs: " + describe_difference(path.read_bytes(), expected)) from None


def tree_digests(folder):
    """Checksums of every file below folder, by relative path."""
    return {str(p.relative_to(folder)): hashlib.sha256(p.read_bytes()).hexdigest()
            for p in sorted(Path(folder).rglob("*")) if p.is_file()}
