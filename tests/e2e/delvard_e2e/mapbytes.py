"""What a saved map file must hold, worked out from the original bytes.

Kept apart from the program's own code tables on purpose: a wrong entry
there must show up as a difference here.
"""

import hashlib
from pathlib import Path

HEADER = 36
RECORD = 4

TERRAIN_CODES = {
    "Heart": 0x0E, "Portal": 0x0C, "Treasury": 0x0A, "Lair": 0x0B, "Hatchery": 0x0D,
    "Libaray": 0x0F, "Training": 0x10, "WorkShop": 0x13, "Combat Pit": 0x19,
    "Prison": 0x14, "Torture": 0x15, "Guard Room": 0x12, "Graveyard": 0x17,
    "Temple": 0x16, "Casion": 0x18, "Mana": 0x20, "Wood Bridge": 0x11,
    "Stone Bridge": 0x1A, "Claimed Dirt": 0x08, "Owned Rock": 0x09, "Sold Rock": 0x01,
    "Rock": 0x02, "Dirt": 0x03, "Water": 0x04, "Lave": 0x05, "Gold": 0x06, "Gems": 0x07,
    "Hero Gate 1": 0x1C, "Hero Gate 2": 0x1D, "Hero Gate 3": 0x21, "Hero Gate 4": 0x22,
    "Hero Gate 5": 0x24, "Hero Gate 6": 0x25, "Hero rest": 0x23,
}
OWNER_CODES = {"Hero": 1, "Neutral": 2, "Player": 3, "Keeper 1": 4, "Keeper 2": 5,
               "Keeper 3": 6, "Keeper 4": 7}


def size_of(data):
    return data[20], data[24]


class ExpectedMap:
    """The bytes Save must write, as cells are painted one click at a time."""

    def __init__(self, original: bytes):
        self.data = bytearray(original)
        self.width, self.height = size_of(original)
        for index in range(self.width * self.height):
            offset = HEADER + RECORD * index
            self.data[offset + 2] = 0x01
            self.data[offset + 3] = 0x01

    def _set(self, row, column, terrain, owner):
        offset = HEADER + RECORD * ((row - 1) * self.width + (column - 1))
        self.data[offset] = TERRAIN_CODES[terrain]
        self.data[offset + 1] = OWNER_CODES[owner]

    def click(self, row, column, terrain, owner):
        """Applies one cell click; returns the cells it changes."""
        w, h = self.width, self.height
        if row in (1, h) or column in (1, w):
            return []
        if terrain != "Heart":
            self._set(row, column, terrain, owner)
            return [(row, column)]
        if not (4 <= row <= h - 3 and 4 <= column <= w - 3):
            return []
        cells = [(r, c) for r in range(row - 2, row + 3) for c in range(column - 2, column + 3)]
        for r, c in cells:
            self._set(r, c, terrain, owner)
        return cells

    def click_changes(self, row, column, terrain):
        """Whether a click there with terrain is taken (not refused)."""
        w, h = self.width, self.height
        if terrain == "Heart":
            return 4 <= row <= h - 3 and 4 <= column <= w - 3
        return 2 <= row <= h - 1 and 2 <= column <= w - 1

    def bytes(self):
        return bytes(self.data)


def describe_difference(actual: bytes, expected: bytes):
    if len(actual) != len(expected):
        return f"length {len(actual)}, expected {len(expected)}"
    for offset, (a, e) in enumerate(zip(actual, expected)):
        if a != e:
            where = "header" if offset < HEADER else (
                f"record {(offset - HEADER) // RECORD} byte {(offset - HEADER) % RECORD}")
            return f"first difference at offset {offset} ({where}): 0x{a:02X}, expected 0x{e:02X}"
    return "identical"


def digest(path):
    return hashlib.sha256(Path(path).read_bytes()).hexdigest()


def tree_digests(folder):
    """Checksums of every file below folder, by relative path."""
    folder = Path(folder)
    return {str(p.relative_to(folder)): digest(p)
            for p in sorted(folder.rglob("*")) if p.is_file()}
