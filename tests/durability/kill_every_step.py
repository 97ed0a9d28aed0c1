#!/usr/bin/env python3
"""Kills a save (and a render) at every write, sync, rename and unlink it
makes, and checks what a crash at that moment would leave on disk.

    kill_every_step.py SAVE_DRIVER DELVARD_MAP SAMPLES_FOLDER

strace stops the writer on entering its Nth call of one set (N = 1, 2, ...
until a run gets through untouched). After each kill the target must hold
its old bytes or its new bytes whole, or, written in place, the copy beside
it must hold the old bytes whole; at most one temporary file may be left,
and the next write in the folder, once that file is old enough to count as
abandoned, must leave the new bytes and nothing else. An uninjected run's
log shows the calls come in the order that makes this hold on a power cut
as well, which no kill can show: the data is synced before its name is
published, and the name's folder after.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# strace's own names; rename may reach the kernel as rename, renameat or renameat2.
SETS = ["/^rename", "write,writev,pwrite64", "fsync,fdatasync", "unlink,unlinkat"]
# A save makes a handful of these calls; far more means the loop never ends.
MOST_STEPS = 200
TEMPORARY = re.compile(r"\.delvard-[0-9a-f]{12}\.new")
COPY = re.compile(r"\.delvard-[0-9a-f]{16}\.copy")
CALL = re.compile(r"^(?:\d+\s+)?(\w+)\((.*)\)\s+=\s+(\d+)")
# With several threads, strace splits a call that another thread interrupts:
# "PID name(args <unfinished ...>" now, "PID <... name resumed>rest" later.
UNFINISHED = re.compile(r"^(\d+)\s+(.*?)\s*<unfinished \.\.\.>$")
RESUMED = re.compile(r"^(\d+)\s+<\.\.\. \w+ resumed>\s?(.*)$")
FD_PATH = re.compile(r"^\d+<(.*?)>")
STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')


class Failure(Exception):
    pass


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


class Scenario:
    def __init__(self, name, target, old, new, command, hard_link=False):
        self.name, self.target, self.old, self.new = name, target, old, new
        self.command, self.hard_link = command, hard_link

    def expected_names(self):
        return {self.target} | ({"link"} if self.hard_link else set())

    def fresh_folder(self, root):
        folder = os.path.join(root, "work")
        shutil.rmtree(folder, ignore_errors=True)
        os.mkdir(folder)
        write(os.path.join(folder, self.target), self.old)
        if self.hard_link:
            os.link(os.path.join(folder, self.target), os.path.join(folder, "link"))
        return folder

    def run(self, folder, strace_log=None, inject=None):
        args = self.command(os.path.join(folder, self.target))
        if strace_log:
            tracing = ["strace", "-f", "-y", "-qq", "-o", strace_log]
            if inject:
                tracing += ["-e", "inject=" + inject]
            args = tracing + ["--"] + args
        return subprocess.run(args, cwd=folder, capture_output=True, timeout=300)

    def check_link(self, folder, content):
        if not self.hard_link:
            return
        link = os.path.join(folder, "link")
        if not os.path.samefile(link, os.path.join(folder, self.target)):
            raise Failure("the second hard link no longer names the target's file")
        if read(link) != content:
            raise Failure("the second hard link sees other bytes than the target")

    def check_after_kill(self, folder):
        names = set(os.listdir(folder))
        temporaries = [n for n in names if TEMPORARY.fullmatch(n)]
        copies = [n for n in names if COPY.fullmatch(n)]
        stray = names - self.expected_names() - set(temporaries) - set(copies)
        if stray:
            raise Failure(f"unexpected files left: {sorted(stray)}")
        if len(temporaries) > 1:
            raise Failure(f"more than one temporary file left: {sorted(temporaries)}")
        if copies and not self.hard_link:
            raise Failure(f"an in-place copy appeared on the rename path: {copies}")
        if self.target not in names:
            raise Failure("the target is gone")
        content = read(os.path.join(folder, self.target))
        if content not in (self.old, self.new):
            kept = [c for c in copies if read(os.path.join(folder, c)) == self.old]
            if not kept:
                raise Failure(
                    f"the target holds {len(content)} bytes that are neither the old "
                    f"({len(self.old)}) nor the new ({len(self.new)}), and no copy holds the old"
                )
        self.check_link(folder, content)

    def check_clean_result(self, folder, what):
        content = read(os.path.join(folder, self.target))
        if content != self.new:
            raise Failure(f"{what}: the target does not hold the new bytes")
        left = set(os.listdir(folder))
        if left != self.expected_names():
            raise Failure(f"{what}: the folder holds {sorted(left)}")
        self.check_link(folder, content)

    def recover(self, folder):
        # Ages what the killed writer left, as a minute's wait would.
        past = time.time() - 120
        for name in os.listdir(folder):
            if TEMPORARY.fullmatch(name):
                os.utime(os.path.join(folder, name), (past, past))
        done = self.run(folder)
        if done.returncode != 0:
            raise Failure(f"the next write failed: {done.stderr.decode(errors='replace')}")
        self.check_clean_result(folder, "after the next write")


def events(log, folder):
    """The calls that matter, in order: (kind, path, bytes) tuples."""
    found = []
    pending = {}  # pid: the first half of a split call
    with open(log, errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            unfinished = UNFINISHED.match(line)
            if unfinished:
                pending[unfinished.group(1)] = unfinished.group(1) + " " + unfinished.group(2)
                continue
            resumed = RESUMED.match(line)
            if resumed and resumed.group(1) in pending:
                line = pending.pop(resumed.group(1)) + resumed.group(2)
            call = CALL.match(line)
            if not call:
                continue  # a failed call changes nothing
            name, args, result = call.groups()
            fd = FD_PATH.match(args)
            strings = [os.path.join(folder, s) for s in STRING.findall(args)]
            if name in ("write", "writev", "pwrite64") and fd:
                found.append(("write", fd.group(1), int(result)))
            elif name in ("fsync", "fdatasync") and fd:
                found.append(("sync", fd.group(1), 0))
            elif name.startswith("rename") and len(strings) >= 2:
                found.append(("rename", strings[0], strings[1]))
            elif name in ("unlink", "unlinkat") and strings:
                found.append(("unlink", strings[0], 0))
    return found


def after(found, start, kind, path, what):
    for i in range(start + 1, len(found)):
        if found[i][0] == kind and found[i][1] == path:
            return i
    raise Failure(f"no {what} after call {start}: {found}")


def writes_to(found, path, size, what):
    indices = [i for i, e in enumerate(found) if e[0] == "write" and e[1] == path]
    if not indices:
        raise Failure(f"nothing written to the {what}: {found}")
    written = sum(found[i][2] for i in indices)
    if written != size:
        raise Failure(f"{written} bytes written to the {what}, {size} expected")
    return indices


def check_rename_order(found, folder, target, new):
    renames = [i for i, e in enumerate(found) if e[0] == "rename" and e[2] == target]
    if len(renames) != 1:
        raise Failure(f"expected one rename onto the target: {found}")
    moved = renames[0]
    temporary = found[moved][1]
    if os.path.dirname(temporary) != folder or not TEMPORARY.fullmatch(os.path.basename(temporary)):
        raise Failure(f"renamed from {temporary}, not a temporary file beside the target")
    written = writes_to(found, temporary, len(new), "temporary file")
    synced = after(found, written[-1], "sync", temporary, "sync of the temporary file")
    if moved < synced:
        raise Failure("the temporary file took the target's name before its bytes were synced")
    after(found, moved, "sync", folder, "sync of the folder after the rename")


def check_in_place_order(found, folder, target, old, new):
    if any(e[0] == "rename" for e in found):
        raise Failure("a rename broke the hard link")
    copies = [e[1] for e in found if e[0] == "unlink" and COPY.fullmatch(os.path.basename(e[1]))]
    if len(copies) != 1 or os.path.dirname(copies[0]) != folder:
        raise Failure(f"expected one copy beside the target, removed once: {found}")
    copy = copies[0]
    copied = writes_to(found, copy, len(old), "copy")
    synced = after(found, copied[-1], "sync", copy, "sync of the copy")
    published = after(found, synced, "sync", folder, "sync of the folder holding the copy")
    written = writes_to(found, target, len(new), "target")
    if written[0] < published:
        raise Failure("the target was written before its copy was safe on disk")
    target_synced = after(found, written[-1], "sync", target, "sync of the target")
    removed = after(found, target_synced, "unlink", copy, "removal of the copy")
    after(found, removed, "sync", folder, "sync of the folder after removing the copy")


def check_order(scenario, root):
    folder = scenario.fresh_folder(root)
    log = os.path.join(root, "order.log")
    done = scenario.run(folder, log)
    if done.returncode != 0:
        raise Failure(f"uninjected run failed: {done.stderr.decode(errors='replace')}")
    scenario.check_clean_result(folder, "uninjected run")
    found = events(log, folder)
    target = os.path.join(folder, scenario.target)
    if scenario.hard_link:
        check_in_place_order(found, folder, target, scenario.old, scenario.new)
    else:
        check_rename_order(found, folder, target, scenario.new)


def kill_every_step(scenario, calls, root):
    """Returns how many kill points the set has in this scenario."""
    log = os.path.join(root, "kill.log")
    for step in range(1, MOST_STEPS + 1):
        folder = scenario.fresh_folder(root)
        done = scenario.run(folder, log, f"{calls}:signal=KILL:when={step}")
        if done.returncode not in (-9, 137):
            if done.returncode != 0:
                raise Failure(f"run {step} failed: {done.stderr.decode(errors='replace')}")
            scenario.check_clean_result(folder, f"run {step}, not killed")
            return step - 1
        try:
            scenario.check_after_kill(folder)
            scenario.recover(folder)
        except Failure as failure:
            with open(log, errors="replace") as lines:
                tail = "".join(lines.readlines()[-12:])
            raise Failure(f"killed at call {step}: {failure}\n{tail}") from None
    raise Failure(f"still killed after {MOST_STEPS} calls")


def render(delvard_map, source, out):
    done = subprocess.run([delvard_map, "render", "--cell-size", "4", source, out],
                          capture_output=True, timeout=300)
    if done.returncode != 0 or not read(out).startswith(b"\x89PNG"):
        raise Failure(f"rendering {source} failed: {done.stderr.decode(errors='replace')}")
    return read(out)


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    driver, delvard_map, samples = sys.argv[1:]
    if not shutil.which("strace"):
        print("FAIL: strace is not installed; it is what kills the writer at each step "
              "(tools/ensure-packages.sh installs it)")
        return 1
    failures = []
    with tempfile.TemporaryDirectory(prefix="delvard-durability-") as root:
        root = os.path.realpath(root)
        inputs = os.path.join(root, "inputs")
        os.mkdir(inputs)
        # The new map is shorter than the old, so an in-place write must shorten the file.
        old_map = read(os.path.join(samples, "small-10x8Map.kld"))
        new_map = read(os.path.join(samples, "heart-7x7Map.kld"))
        new_file = os.path.join(inputs, "new.kld")
        write(new_file, new_map)
        source = os.path.join(samples, "small-10x8Map.kld")
        old_png = render(delvard_map, os.path.join(samples, "heart-7x7Map.kld"),
                         os.path.join(inputs, "old.png"))
        new_png = render(delvard_map, source, os.path.join(inputs, "new.png"))
        if old_png == new_png:
            print("FAIL: the two renders are the same picture; nothing could be told apart")
            return 1

        def save(target):
            return [driver, target, new_file]

        def render_over(target):
            return [delvard_map, "render", "--cell-size", "4", source, target]

        scenarios = [
            Scenario("replace by rename", "map.kld", old_map, new_map, save),
            Scenario("in place, second hard link", "map.kld", old_map, new_map, save, True),
            Scenario("render over a PNG", "out.png", old_png, new_png, render_over),
        ]
        for scenario in scenarios:
            try:
                check_order(scenario, root)
                print(f"{scenario.name:<28} call order ok")
            except Failure as failure:
                failures.append(f"{scenario.name}, call order: {failure}")
            for calls in SETS:
                try:
                    points = kill_every_step(scenario, calls, root)
                    print(f"{scenario.name:<28} {calls:<24} {points} kill points, all safe")
                except Failure as failure:
                    failures.append(f"{scenario.name}, killed in {calls}: {failure}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
