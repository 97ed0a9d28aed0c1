"""Faults made for real under the running editor: what the user is told, and
that no byte of any file is lost. Root ignores permission bits, so the
immutable attribute (chattr +i) makes a file or folder read-only, and a
small tmpfs stands in for a full disk. A failed save offers Retry, so one
run meets fault after fault until the last retry saves."""

import os
import shutil
import subprocess

from desktop_driver import a11y
from desktop_driver.editor import CAPTION
from .mapbytes import ExpectedMap, tree_digests, wait_for_bytes
from .scenarios_road import SAMPLES, answer_first_run, check, map_folder_with, program_remembering


def chattr(flag, path):
    subprocess.run(["chattr", flag, str(path)], check=True)


def immutable(ctx, path):
    chattr("+i", path)
    ctx.on_cleanup(lambda: subprocess.run(["chattr", "-i", str(path)], check=False))


def small_disk(ctx, size):
    disk = ctx.root / "disk"
    disk.mkdir()
    subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(disk)], check=True)
    ctx.on_cleanup(lambda: subprocess.run(["umount", "-l", str(disk)], check=False))
    return disk


def open_and_paint(ctx, maps, name):
    map_file = maps / name
    expected = ExpectedMap(map_file.read_bytes())
    editor = ctx.start(program_remembering(ctx, maps))
    editor.main()
    editor.open_map(map_file, expected.width, expected.height)
    editor.choose("Portal", "Player")
    editor.click_cell(3, 3)
    expected.click(3, 3, "Portal", "Player")
    check(editor.hover_cell(3, 3) == "Portal, Player", "the cell was not painted")
    return editor, map_file, expected


def told(ctx, message, path, words):
    ctx.note(f"the user is told: {message!r}")
    check(str(path) in message and words in message, f"the message does not name {path} and say {words!r}")


def save_through_faults(ctx):
    """Read-only, a folder, a named pipe: each named, nothing changed, the map
    still open; once the fault is gone, Retry saves. A map gone from disk is
    a map changed on disk: Save asks first, and Cancel keeps Save."""
    maps = map_folder_with(ctx, "small-10x8Map.kld", "heart-7x7Map.kld")
    editor, map_file, expected = open_and_paint(ctx, maps, "small-10x8Map.kld")
    aside = ctx.root / "aside.kld"

    map_file.rename(aside)
    editor.menu("File", "Save")
    box, message = editor.message_box()
    told(ctx, message, map_file, "has changed on disk since it was opened")
    editor.answer(box, "Cancel")
    check(not map_file.exists(), "Cancel wrote the map")
    check(editor.menu_item_enabled("File", "Save"), "Cancel used up Save")
    aside.rename(map_file)

    faults = [
        ("The file is read-only", lambda: chattr("+i", map_file), lambda: chattr("-i", map_file)),
        ("This is a folder", lambda: (map_file.rename(aside), map_file.mkdir()),
         lambda: (map_file.rmdir(), aside.rename(map_file))),
        ("This is a named pipe", lambda: (map_file.rename(aside), os.mkfifo(map_file)),
         lambda: (map_file.unlink(), aside.rename(map_file))),
    ]
    box = None
    for words, make, undo in faults:
        make()
        before = tree_digests(maps)
        if box is None:
            editor.menu("File", "Save")
        else:
            editor.answer(box, "Retry")
        box, message = editor.message_box()
        told(ctx, message, map_file, words)
        check(tree_digests(maps) == before, f"a file changed although the save failed ({words})")
        undo()
    editor.answer(box, "Retry")
    wait_for_bytes(map_file, expected.bytes(), 10)
    check(sorted(p.name for p in maps.iterdir()) == ["heart-7x7Map.kld", "small-10x8Map.kld"],
          "a file was left beside the map")


def save_on_a_full_disk(ctx):
    """A 255 x 255 map on a disk with room for it, but not for a second copy."""
    maps = map_folder_with(ctx, "large-255x255Map.kld", folder=small_disk(ctx, "300k") / "maps")
    editor, map_file, _ = open_and_paint(ctx, maps, "large-255x255Map.kld")
    before = tree_digests(ctx.root)
    editor.menu("File", "Save")
    box, message = editor.message_box()
    told(ctx, message, map_file, "No space left on device")
    editor.answer(box, "Cancel")
    check(tree_digests(ctx.root) == before, "a file changed although the save failed")
    check(editor.hover_cell(3, 3) == "Portal, Player", "the edit was lost")


def save_in_place(ctx):
    """A read-only folder takes no new file, and a second hard link would be
    split by one: the map is written in place, under both names."""
    maps = map_folder_with(ctx, "small-10x8Map.kld")
    (ctx.root / "elsewhere").mkdir()
    other = ctx.root / "elsewhere" / "sameMap.kld"
    editor, map_file, expected = open_and_paint(ctx, maps, "small-10x8Map.kld")
    os.link(map_file, other)
    immutable(ctx, maps)
    editor.menu("File", "Save")
    wait_for_bytes(other, expected.bytes(), 10)
    check(other.stat().st_ino == map_file.stat().st_ino, "the names were split")
    check(sorted(p.name for p in maps.iterdir()) == ["small-10x8Map.kld"], "a file was left beside")


def open_refused_files(ctx):
    """A truncated map and a named pipe are refused at once; Open still works."""
    maps = map_folder_with(ctx, "small-10x8Map.kld")
    (maps / "shortMap.kld").write_bytes((SAMPLES / "small-10x8Map.kld").read_bytes()[:100])
    os.mkfifo(maps / "pipeMap.kld")
    before = tree_digests(maps)
    editor = ctx.start(program_remembering(ctx, maps))
    editor.main()
    for name, words in (("shortMap.kld", "cell records were expected"), ("pipeMap.kld", "This is a named pipe")):
        editor.type_into_dialog(editor.open_dialog(), str(maps / name))
        box, message = editor.message_box()
        told(ctx, message, maps / name, words)
        editor.answer(box, "OK")
        check(editor.map_widget() is None, "a map was shown")
    editor.open_map(maps / "small-10x8Map.kld", 10, 8)
    check(tree_digests(maps) == before, "opening changed a file")


def settings_in_read_only_program_folder(ctx):
    program = ctx.program_folder()
    before = tree_digests(program)
    immutable(ctx, program)
    editor = ctx.start(program)
    answer_first_run(ctx, editor)
    editor.main()
    found = list((ctx.home() / ".config").rglob("Delvard.ini"))
    check(len(found) == 1 and f"Map={program}" in found[0].read_text(), f"settings files: {found}")
    editor.menu("File", "Exit")
    editor.program.wait_exit()
    second = ctx.start(program)
    second.main()
    check(second.settled_titles() == [CAPTION], f"the second run showed {second.window_titles()}")
    check(tree_digests(program) == before, "the read-only program folder changed")


def settings_nowhere_writable(ctx):
    program = ctx.program_folder()
    (ctx.home() / ".config").mkdir()
    immutable(ctx, program)
    immutable(ctx, ctx.home() / ".config")
    editor = ctx.start(program)
    box, message = editor.message_box()
    told(ctx, message, program / "Delvard.ini", "will not be remembered")
    editor.answer(box, "OK")
    editor.main()
    check(editor.settled_titles() == [CAPTION], f"windows: {editor.window_titles()}")


SCENARIOS = [open_refused_files, save_through_faults, save_on_a_full_disk, save_in_place,
             settings_in_read_only_program_folder, settings_nowhere_writable]
