"""Real faults on real file systems, each undone by the scenario's cleanup.

The tests run as root, and root ignores permission bits; the immutable
attribute (chattr +i, ext4) is what makes a file or folder read-only for
root too. A small tmpfs stands in for a full disk.
"""

import os
import subprocess
from pathlib import Path


def make_immutable(ctx, path):
    subprocess.run(["chattr", "+i", str(path)], check=True)
    ctx.on_cleanup(lambda: subprocess.run(["chattr", "-i", str(path)], check=False))


def undo_immutable(path):
    subprocess.run(["chattr", "-i", str(path)], check=True)


def full_disk(ctx, name="full-disk", size="64k"):
    """A tiny tmpfs mounted under the scenario's folder; returns its path."""
    mount_point = ctx.root / name
    mount_point.mkdir()
    subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(mount_point)],
                   check=True)
    ctx.on_cleanup(lambda: subprocess.run(["umount", "-l", str(mount_point)], check=False))
    return mount_point


def fill_up(folder):
    """Writes a filler file until the file system has no block left."""
    filler = Path(folder) / "filler.bin"
    block = b"\xAA" * 512
    with open(filler, "wb", buffering=0) as out:
        try:
            while True:
                out.write(block)
        except OSError:
            pass
    for extra in range(64):  # the last partial blocks, and inodes
        try:
            with open(Path(folder) / f"filler-{extra}", "wb") as out:
                out.write(b"x")
        except OSError:
            break
    statistics = os.statvfs(folder)
    return statistics.f_bavail
