"""Faults made for real under the running editor: what the user is told, and
that no byte of any file is lost."""

import os
import random
import shutil
import time
from pathlib import Path

from . import a11y
from .editor import CAPTION
from .faults import fill_up, full_disk, make_immutable, undo_immutable
from .mapbytes import ExpectedMap, describe_difference, digest, tree_digests
from .scenarios_road import SAMPLES, check, map_folder_with, program_remembering

EDITS = [((3, 3), "Portal", "Player"), ((4, 4), "Hatchery", "Keeper 2")]



def answer_first_run(ctx, editor):
    """OK on the About box, then OK on the folder chooser, as a person would."""
    about = editor.window("About Delvard")
    ctx.desktop.click(*a11y.centre(a11y.find(about, name="OK", role_name="push button")))
    chooser = editor.window("Get Map File Path")
    ctx.desktop.click(*a11y.centre(a11y.find(chooser, name="OK", role_name="push button")))

def open_and_paint(ctx, maps, map_name):
    """Starts the editor on maps, opens map_name and paints two cells."""
    map_file = maps / map_name
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


def edits_still_shown(editor):
    for (row, column), terrain, owner in EDITS:
        said = editor.hover_cell(row, column)
        check(said == f"{terrain}, {owner}", f"after the failed save ({row}, {column}) shows {said!r}")


def save_and_read_message(ctx, editor):
    editor.menu("File", "Save")
    box, texts = editor.message_box()
    message = " ".join(texts)
    ctx.note(f"the user is told: {message!r}")
    return box, message


def message_names(message, path, *words):
    check(str(path) in message, f"the message does not name {path}: {message!r}")
    for word in words:
        check(word.lower() in message.lower(), f"the message does not say {word!r}: {message!r}")


def read_only_map_file(ctx):
    maps = map_folder_with(ctx, "small-10x8Map.kld", "heart-7x7Map.kld")
    editor, map_file, _ = open_and_paint(ctx, maps, "small-10x8Map.kld")
    before = tree_digests(maps)
    make_immutable(ctx, map_file)
    box, message = save_and_read_message(ctx, editor)
    message_names(message, map_file, "read-only")
    check(a11y.find(box, name="Retry", role_name="push button") is not None, "no Retry offered")
    editor.answer(box, "Retry")  # still read-only: asked again
    time.sleep(0.5)
    box, again = editor.message_box()
    check(" ".join(again) == message, "Retry on a read-only file told something else")
    editor.answer(box, "Cancel")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the message to close")
    check(tree_digests(maps) == before, "a file changed although the save failed")
    check(editor.program.running(), "the program ended after a failed save")
    edits_still_shown(editor)
    ctx.note("checksums of every file in the map folder unchanged")


def retry_after_making_writable(ctx):
    maps = map_folder_with(ctx, "trailing-12x9Map.kld")
    editor, map_file, expected = open_and_paint(ctx, maps, "trailing-12x9Map.kld")
    make_immutable(ctx, map_file)
    box, message = save_and_read_message(ctx, editor)
    message_names(message, map_file, "read-only")
    undo_immutable(map_file)
    editor.answer(box, "Retry")
    a11y.wait_for(lambda: map_file.read_bytes() == expected.bytes(), 10,
                  "the retried save to write the map: "
                  + describe_difference(map_file.read_bytes(), expected.bytes()))
    time.sleep(0.3)
    check(editor.window_titles() == [CAPTION], f"windows after the retry: {editor.window_titles()}")


def read_only_map_folder(ctx):
    maps = map_folder_with(ctx, "small-10x8Map.kld", "heart-7x7Map.kld")
    other = digest(maps / "heart-7x7Map.kld")
    editor, map_file, expected = open_and_paint(ctx, maps, "small-10x8Map.kld")
    make_immutable(ctx, maps)
    editor.menu("File", "Save")
    try:
        a11y.wait_for(lambda: map_file.read_bytes() == expected.bytes(), 10, "the save")
    except AssertionError:
        titles = editor.window_titles()
        texts = " ".join(editor.message_box(1)[1]) if len(titles) > 1 else ""
        raise AssertionError(f"saving a writable file in a read-only folder failed: {texts!r} "
                             + describe_difference(map_file.read_bytes(), expected.bytes()))
    time.sleep(0.3)
    check(editor.window_titles() == [CAPTION], f"a message came up: {editor.window_titles()}")
    check(sorted(p.name for p in maps.iterdir()) == ["heart-7x7Map.kld", "small-10x8Map.kld"],
          f"the folder holds {sorted(p.name for p in maps.iterdir())}")
    check(digest(maps / "heart-7x7Map.kld") == other, "the other map changed")
    ctx.note("saved in place; the folder's other file unchanged")


def map_file_deleted_before_save(ctx):
    maps = map_folder_with(ctx, "small-10x8Map.kld", "heart-7x7Map.kld")
    editor, map_file, _ = open_and_paint(ctx, maps, "small-10x8Map.kld")
    map_file.unlink()
    before = tree_digests(maps)
    box, message = save_and_read_message(ctx, editor)
    message_names(message, map_file)
    editor.answer(box, "Cancel")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the message to close")
    check(tree_digests(maps) == before, "the other files changed")
    check(not map_file.exists(), "a failed save left a file behind")
    edits_still_shown(editor)


def map_file_replaced_by_folder(ctx):
    maps = map_folder_with(ctx, "small-10x8Map.kld")
    editor, map_file, _ = open_and_paint(ctx, maps, "small-10x8Map.kld")
    map_file.unlink()
    map_file.mkdir()
    (map_file / "keep.txt").write_bytes(b"inside the folder\n")
    before = tree_digests(maps)
    box, message = save_and_read_message(ctx, editor)
    message_names(message, map_file, "folder")
    editor.answer(box, "Cancel")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the message to close")
    check(map_file.is_dir() and tree_digests(maps) == before, "the folder or its file changed")
    edits_still_shown(editor)


def disk_full(ctx):
    disk = full_disk(ctx)
    maps = disk / "maps"
    maps.mkdir()
    for name in ("heart-7x7Map.kld", "small-10x8Map.kld"):
        shutil.copy2(SAMPLES / name, maps / name)
    editor, map_file, expected = open_and_paint(ctx, maps, "small-10x8Map.kld")
    original = map_file.read_bytes()
    free = fill_up(disk)
    ctx.note(f"blocks left on the disk: {free}")
    before = tree_digests(maps)
    check(map_file.read_bytes() == original, "filling the disk touched the map")
    inode = map_file.stat().st_ino
    editor.menu("File", "Save")
    time.sleep(1.0)
    titles = editor.window_titles()
    if len(titles) > 1:
        box, texts = editor.message_box()
        message = " ".join(texts)
        ctx.note(f"the user is told: {message!r}")
        message_names(message, map_file)
        editor.answer(box, "Cancel")
        check(tree_digests(maps) == before, "a failed save on a full disk changed a file")
        ctx.note("checksums unchanged")
    else:
        # Writing over the front needs no new block: a complete save is fine too.
        saved = map_file.read_bytes()
        ctx.note(f"no message; the status bar says {editor.cell_text()!r}; the file has "
                 f"{len(saved)} bytes, {'the same' if map_file.stat().st_ino == inode else 'a new'} inode")
        check(saved == expected.bytes(),
              "a save on a full disk said nothing and left " + describe_difference(saved, expected.bytes()))
        ctx.note("saved in place without a new block")
    check(digest(maps / "heart-7x7Map.kld") == digest(SAMPLES / "heart-7x7Map.kld"), "other map lost")
    extra = sorted(p.name for p in maps.iterdir())
    check(extra == ["heart-7x7Map.kld", "small-10x8Map.kld"], f"left in the folder: {extra}")
    edits_still_shown(editor)


def disk_with_room_for_one_copy(ctx):
    """A 255 x 255 map on a disk with room for it, but not for a second copy."""
    disk = full_disk(ctx, size="300k")
    maps = disk / "maps"
    maps.mkdir()
    shutil.copy2(SAMPLES / "large-255x255Map.kld", maps / "large-255x255Map.kld")
    editor, map_file, _ = open_and_paint(ctx, maps, "large-255x255Map.kld")
    before = tree_digests(maps)
    box, message = save_and_read_message(ctx, editor)
    message_names(message, map_file, "No space left on device")
    editor.answer(box, "Cancel")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the message to close")
    check(tree_digests(maps) == before, "a failed save changed or left a file")
    edits_still_shown(editor)
    ctx.note("checksums unchanged")


def open_named_pipe(ctx):
    """A named pipe that looks like a map: refused at once, nothing waits for a writer."""
    maps = map_folder_with(ctx, "small-10x8Map.kld")
    pipe = maps / "pipeMap.kld"
    os.mkfifo(pipe)
    before = tree_digests(maps)
    editor = ctx.start(program_remembering(ctx, maps))
    editor.main()
    editor.open_dialog()
    time.sleep(0.2)
    ctx.desktop.type_text(str(pipe))
    ctx.desktop.key("Return")
    box, texts = editor.message_box()
    message = " ".join(texts)
    ctx.note(f"the user is told: {message!r}")
    message_names(message, pipe, "named pipe")
    ctx.desktop.key("Return")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the message to close")
    check(editor.map_widget() is None, "a map was shown")
    editor.open_map(maps / "small-10x8Map.kld", 10, 8)  # the editor still works
    check(pipe.is_fifo() and tree_digests(maps) == before, "a file changed")


def save_hard_linked_map(ctx):
    """Both names of a map with two hard links get the saved bytes."""
    maps = map_folder_with(ctx, "small-10x8Map.kld")
    elsewhere = ctx.root / "elsewhere"
    elsewhere.mkdir()
    other_name = elsewhere / "sameMap.kld"
    os.link(maps / "small-10x8Map.kld", other_name)
    inode = other_name.stat().st_ino
    editor, map_file, expected = open_and_paint(ctx, maps, "small-10x8Map.kld")
    editor.menu("File", "Save")
    a11y.wait_for(lambda: map_file.read_bytes() == expected.bytes(), 10,
                  "the save: " + describe_difference(map_file.read_bytes(), expected.bytes()))
    check(other_name.read_bytes() == expected.bytes(), "the other name kept the old bytes")
    check(map_file.stat().st_ino == inode == other_name.stat().st_ino, "the names were split")
    check(sorted(p.name for p in maps.iterdir()) == ["small-10x8Map.kld"],
          f"left in the folder: {sorted(p.name for p in maps.iterdir())}")
    ctx.note("one file under both names, holding the saved bytes")


def settings_in_read_only_program_folder(ctx):
    program = ctx.program_folder()
    before = tree_digests(program)
    make_immutable(ctx, program)
    editor = ctx.start(program)
    answer_first_run(ctx, editor)
    editor.main()
    time.sleep(0.5)
    check(editor.window_titles() == [CAPTION], f"windows: {editor.window_titles()}")
    found = list((ctx.home() / ".config").rglob("Delvard.ini"))
    check(len(found) == 1, f"settings files under ~/.config: {found}")
    text = found[0].read_text(encoding="utf-8")
    check(f"Map={program}" in text, f"{found[0]} holds {text!r}")
    ctx.note(f"settings went to {found[0].relative_to(ctx.home())}: {text!r}")
    editor.menu("File", "Exit")
    editor.program.wait_exit()
    second = ctx.start(program)
    second.main()
    check(second.no_window_but([CAPTION]), f"the second run showed {second.window_titles()}")
    second.close()
    check(tree_digests(program) == before, "the read-only program folder changed")


def settings_nowhere_writable(ctx):
    program = ctx.program_folder()
    config = ctx.home() / ".config"
    config.mkdir()
    make_immutable(ctx, program)
    make_immutable(ctx, config)
    editor = ctx.start(program)
    box, texts = editor.message_box()
    message = " ".join(texts)
    ctx.note(f"the user is told: {message!r}")
    check("Delvard.ini" in message and str(program) in message, f"message: {message!r}")
    ok = a11y.find(box, name="OK", role_name="push button")
    ctx.desktop.click(*a11y.centre(ok))
    editor.main()
    check(editor.no_window_but([CAPTION]), f"windows: {editor.window_titles()}")
    check(not (program / "Delvard.ini").exists(), "a settings file appeared in the program folder")


def settings_of_binary_garbage(ctx):
    program = ctx.program_folder()
    maps = map_folder_with(ctx, "heart-7x7Map.kld")
    garbage = bytes(random.Random(7).randrange(256) for _ in range(4096))
    (program / "Delvard.ini").write_bytes(garbage)
    editor = ctx.start(program)
    editor.main()
    check(editor.no_window_but([CAPTION]), f"garbage settings showed {editor.window_titles()}")
    dialog = editor.open_dialog()
    look_in = a11y.find(dialog, role_name="combo box", max_depth=1)
    ctx.note(f"the open dialog starts in {look_in.name!r}")
    time.sleep(0.2)
    ctx.desktop.type_text(str(maps / "heart-7x7Map.kld"))
    ctx.desktop.key("Return")
    editor.wait_map(7, 7)
    check((program / "Delvard.ini").read_bytes() == garbage, "the garbage settings file was changed")
    editor.menu("File", "Exit")
    check(editor.program.wait_exit() is not None, "Exit did not end the program")
    check((program / "Delvard.ini").read_bytes() == garbage, "Exit changed the settings file")


ODD_NAME = "maps [v2] a=b (Grüße, ÆØÅ, café)"


def odd_folder_name(ctx):
    odd = ctx.root / ODD_NAME
    odd.mkdir()
    program = ctx.program_folder(parent=odd, name="Délvard = [prog]")
    shutil.copy2(SAMPLES / "heart-7x7Map.kld", program / "heart-7x7Map.kld")
    map_file = program / "heart-7x7Map.kld"
    expected = ExpectedMap(map_file.read_bytes())
    editor = ctx.start(program)
    answer_first_run(ctx, editor)
    editor.main()
    settings = program / "Delvard.ini"
    a11y.wait_for(lambda: settings.stat().st_size > 0, 5, "the settings to be written")
    raw = settings.read_bytes()
    ctx.note(f"Delvard.ini holds {raw!r}")
    check(f"Map={program}".encode("utf-8") in raw, "the folder was not stored as it is named")
    editor.menu("File", "Exit")
    editor.program.wait_exit()

    second = ctx.start(program)
    second.main()
    check(second.no_window_but([CAPTION]), f"the second run showed {second.window_titles()}")
    dialog = second.open_dialog()
    look_in = a11y.find(dialog, role_name="combo box", max_depth=1)
    check(look_in.name == str(program), f"the dialog starts in {look_in.name!r}, not {program}")
    listed = a11y.wait_for(lambda: second.dialog_listing(dialog) & {"heart-7x7Map.kld"}, 5, "map listed")
    check(listed, "the map is not listed")
    time.sleep(0.2)
    ctx.desktop.type_text("heart-7x7Map.kld")  # the name alone: the dialog is in the odd folder
    ctx.desktop.key("Return")
    second.wait_map(7, 7)
    second.choose("Heart", "Keeper 4")
    second.click_cell(4, 4)
    expected.click(4, 4, "Heart", "Keeper 4")
    check(second.hover_cell(2, 2) == "Heart, Keeper 4", "the Heart was not placed")
    original = map_file.read_bytes()
    second.menu("File", "Save")
    a11y.wait_for(lambda: map_file.read_bytes() != original, 10, "the save")
    time.sleep(0.3)
    saved = map_file.read_bytes()
    check(saved == expected.bytes(), "saved map differs: " + describe_difference(saved, expected.bytes()))


def open_truncated_map(ctx):
    maps = map_folder_with(ctx, "small-10x8Map.kld")
    whole = (maps / "small-10x8Map.kld").read_bytes()
    short = maps / "shortMap.kld"
    short.write_bytes(whole[:100])  # the header promises 10 x 8 cells
    before = tree_digests(maps)
    editor = ctx.start(program_remembering(ctx, maps))
    editor.main()
    editor.open_dialog()
    time.sleep(0.2)
    ctx.desktop.type_text(str(short))
    ctx.desktop.key("Return")
    box, texts = editor.message_box()
    message = " ".join(texts)
    ctx.note(f"the user is told: {message!r}")
    message_names(message, short)
    ctx.desktop.key("Return")
    a11y.wait_for(lambda: editor.window_titles() == [CAPTION], 5, "the message to close")
    check(editor.map_widget() is None, "a half-read map was shown")
    check(editor.menu_item_enabled("File", "Open"), "File > Open is disabled after a failed open")
    editor.open_map(maps / "small-10x8Map.kld", 10, 8)  # the next Open still works
    check(tree_digests(maps) == before, "opening changed a file")


SCENARIOS = [open_truncated_map, open_named_pipe, save_hard_linked_map,
             disk_with_room_for_one_copy, read_only_map_file, retry_after_making_writable, read_only_map_folder,
             map_file_deleted_before_save, map_file_replaced_by_folder, disk_full,
             settings_in_read_only_program_folder, settings_nowhere_writable,
             settings_of_binary_garbage, odd_folder_name]
