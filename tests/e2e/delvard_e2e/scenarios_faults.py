"""Faults made for real under the running editor: what the user is told, and
that no byte of any file is lost. Root ignores permission bits, so the
immutable attribute (chattr +i) makes a file or folder read-only, and a
small tmpfs stands in for a full disk."""

import os
import random
import shutil
import subprocess

from . import a11y
from .editor import CAPTION
from .mapbytes import ExpectedMap, describe_difference, tree_digests
from .scenarios_road import SAMPLES, answer_first_run, check, map_folder_with, program_remembering

EDITS = [((3, 3), "Portal", "Player"), ((4, 4), "Lair", "Keeper 2")]


def immutable(ctx, path):
    subprocess.run(["chattr", "+i", str(path)], check=True)
    ctx.on_cleanup(lambda: subprocess.run(["chattr", "-i", str(path)], check=False))


def small_disk(ctx, size):
    disk = ctx.root / "disk"
    disk.mkdir()
    subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(disk)], check=True)
    ctx.on_cleanup(lambda: subprocess.run(["umount", "-l", str(disk)], check=False))
    return disk


def fill_up(folder):
    """Writes filler until the file system has no block left."""
    with open(folder / "filler.bin", "wb", buffering=0) as out:
        try:
            while True:
                out.write(b"\xAA" * 512)
        except OSError:
            pass


def open_and_paint(ctx, maps, name):
    map_file = maps / name
    expected = ExpectedMap(map_file.read_bytes())
    editor = ctx.start(program_remembering(ctx, maps))
    editor.main()
    editor.open_map(map_file, expected.width, expected.height)
    for (row, column), terrain, owner in EDITS:
        editor.choose(terrain, owner)
        editor.click_cell(row, column)
        expected.click(row, column, terrain, owner)
        check(editor.hover_cell(row, column) == f"{terrain}, {owner}", "a cell was not painted")
    return editor, map_file, expected


def told(ctx, message, path, *words):
    ctx.note(f"the user is told: {message!r}")
    check(str(path) in message, f"the message does not name {path}")
    for word in words:
        check(word in message, f"the message does not say {word!r}")


def maps_on_disk(size, *samples):
    """A maps folder on a small disk of its own, holding the samples."""
    return lambda ctx: map_folder_with(ctx, *samples, folder=small_disk(ctx, size) / "maps")


def refused_save(name, fault, *words, maps_at=None, map_name="small-10x8Map.kld"):
    """A save that fails: the message names the file and the reason, Retry
    is offered, and after Cancel every file and every edit is as it was."""
    def scenario(ctx):
        maps = maps_at(ctx) if maps_at else map_folder_with(ctx, map_name, "heart-7x7Map.kld")
        editor, map_file, _ = open_and_paint(ctx, maps, map_name)
        fault(ctx, maps, map_file)
        before = tree_digests(ctx.root)
        editor.menu("File", "Save")
        box, message = editor.message_box()
        told(ctx, message, map_file, *words)
        editor.answer(box, "Retry")  # the fault is still there: asked again
        box, again = editor.message_box()
        check(again == message, f"a retry was told {again!r}")
        editor.answer(box, "Cancel")
        check(tree_digests(ctx.root) == before, "a file changed although the save failed")
        for (row, column), terrain, owner in EDITS:
            check(editor.hover_cell(row, column) == f"{terrain}, {owner}", "an edit was lost")
    scenario.__name__ = f"save_refused_{name}"
    return scenario


def file_become_folder(ctx, maps, map_file):
    map_file.unlink()
    map_file.mkdir()
    (map_file / "keep.txt").write_text("inside the folder\n")


def saved(name, twist, note):
    """A save that succeeds in spite of a twist: the exact bytes, nothing left beside."""
    def scenario(ctx):
        maps = map_folder_with(ctx, "small-10x8Map.kld")
        editor, map_file, expected = open_and_paint(ctx, maps, "small-10x8Map.kld")
        check_after = twist(ctx, maps, map_file, editor)
        a11y.wait_for(lambda: map_file.read_bytes() == expected.bytes(), 10,
                      "the save: " + describe_difference(map_file.read_bytes(), expected.bytes()))
        check(sorted(p.name for p in maps.iterdir()) == ["small-10x8Map.kld"], "a file was left beside")
        if check_after:
            check_after(expected)
        ctx.note(note)
    scenario.__name__ = f"saved_{name}"
    return scenario


def in_read_only_folder(ctx, maps, map_file, editor):
    immutable(ctx, maps)
    editor.menu("File", "Save")


def with_a_hard_link(ctx, maps, map_file, editor):
    (ctx.root / "elsewhere").mkdir()
    other = ctx.root / "elsewhere" / "sameMap.kld"
    os.link(map_file, other)
    editor.menu("File", "Save")

    def both_names(expected):
        check(other.read_bytes() == expected.bytes(), "the other name kept the old bytes")
        check(other.stat().st_ino == map_file.stat().st_ino, "the names were split")
    return both_names


def on_retry_once_writable(ctx, maps, map_file, editor):
    immutable(ctx, map_file)
    editor.menu("File", "Save")
    box, message = editor.message_box()
    told(ctx, message, map_file, "read-only")
    subprocess.run(["chattr", "-i", str(map_file)], check=True)
    editor.answer(box, "Retry")


def refused_open(name, make, words):
    def scenario(ctx):
        maps = map_folder_with(ctx, "small-10x8Map.kld")
        bad = maps / name
        make(bad)
        before = tree_digests(maps)
        editor = ctx.start(program_remembering(ctx, maps))
        editor.main()
        editor.type_into_dialog(editor.open_dialog(), str(bad))
        box, message = editor.message_box()
        told(ctx, message, bad, words)
        editor.answer(box, "OK")
        check(editor.map_widget() is None and editor.menu_item_enabled("File", "Open"), "the editor changed")
        editor.open_map(maps / "small-10x8Map.kld", 10, 8)  # the next Open still works
        check(tree_digests(maps) == before, "opening changed a file")
    scenario.__name__ = f"open_refused_{name.split('Map')[0]}"
    return scenario


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
    told(ctx, message, program / "Delvard.ini")
    editor.answer(box, "OK")
    editor.main()
    check(editor.settled_titles() == [CAPTION], f"windows: {editor.window_titles()}")


def settings_of_binary_garbage(ctx):
    program = ctx.program_folder()
    maps = map_folder_with(ctx, "heart-7x7Map.kld")
    garbage = bytes(random.Random(7).randrange(256) for _ in range(4096))
    (program / "Delvard.ini").write_bytes(garbage)
    editor = ctx.start(program)
    editor.main()
    check(editor.settled_titles() == [CAPTION], f"garbage settings showed {editor.window_titles()}")
    editor.open_map(maps / "heart-7x7Map.kld", 7, 7)
    editor.menu("File", "Exit")
    check(editor.program.wait_exit() is not None, "Exit did not end the program")
    check((program / "Delvard.ini").read_bytes() == garbage, "the garbage settings file was changed")


def odd_folder_name(ctx):
    odd = ctx.root / "maps [v2] a=b (Grüße, ÆØÅ, café)"
    program = ctx.program_folder(parent=odd, name="Délvard = [prog]")
    map_file = map_folder_with(ctx, "heart-7x7Map.kld", folder=program) / "heart-7x7Map.kld"
    expected = ExpectedMap(map_file.read_bytes())
    editor = ctx.start(program)
    answer_first_run(ctx, editor)
    editor.main()
    a11y.wait_for(lambda: f"Map={program}".encode() in (program / "Delvard.ini").read_bytes(), 5,
                  "the folder stored as it is named")
    editor.menu("File", "Exit")
    editor.program.wait_exit()
    second = ctx.start(program)
    second.main()
    dialog = second.open_dialog()
    check(a11y.find(dialog, role_name="combo box", name=str(program)), "the dialog is not in the odd folder")
    second.type_into_dialog(dialog, "heart-7x7Map.kld")
    second.wait_map(7, 7)
    second.choose("Heart", "Keeper 4")
    second.click_cell(4, 4)
    expected.click(4, 4, "Heart", "Keeper 4")
    second.menu("File", "Save")
    a11y.wait_for(lambda: map_file.read_bytes() == expected.bytes(), 10, "the save in the odd folder")


SCENARIOS = [
    refused_open("shortMap.kld", lambda p: p.write_bytes((SAMPLES / "small-10x8Map.kld").read_bytes()[:100]),
                 "cell records were expected"),
    refused_open("pipeMap.kld", os.mkfifo, "This is a named pipe"),
    refused_save("read_only", lambda ctx, maps, f: immutable(ctx, f), "The file is read-only."),
    refused_save("deleted", lambda ctx, maps, f: f.unlink(), "does not exist"),
    refused_save("become_folder", file_become_folder, "This is a folder"),
    refused_save("full_disk", lambda ctx, maps, f: fill_up(maps.parent), "No space left on device",
                 maps_at=maps_on_disk("64k", "small-10x8Map.kld", "heart-7x7Map.kld")),
    refused_save("room_for_one_copy", lambda *_: None, "No space left on device",
                 maps_at=maps_on_disk("300k", "large-255x255Map.kld"), map_name="large-255x255Map.kld"),
    saved("in_read_only_folder", in_read_only_folder, "saved in place in a read-only folder"),
    saved("with_a_hard_link", with_a_hard_link, "one file under both names, holding the saved bytes"),
    saved("on_retry_once_writable", on_retry_once_writable, "the retry saved once the file was writable"),
    settings_in_read_only_program_folder, settings_nowhere_writable, settings_of_binary_garbage,
    odd_folder_name,
]
