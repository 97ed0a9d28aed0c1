"""Runs a group of scenarios on one private desktop and reports like a test
runner. A failing scenario leaves a screenshot named after it."""

import shutil
import time
import traceback
from pathlib import Path

from desktop_driver.desktop import Desktop, fresh_program_folder, scratch
from desktop_driver.editor import Editor


class Context:
    def __init__(self, desktop, delvard, name):
        self.desktop, self.delvard, self.name = desktop, Path(delvard), name
        self.root = scratch(name)
        self.editors, self.cleanups = [], []  # cleanups run last-in first-out, also after a failure

    def program_folder(self, parent=None, name="program"):
        return fresh_program_folder(self.delvard, parent or self.root, name)

    def home(self):
        (self.root / "home").mkdir(exist_ok=True)
        return self.root / "home"

    def start(self, program_folder):
        self.editors.append(Editor(self.desktop, program_folder, self.home()))
        return self.editors[-1]

    def on_cleanup(self, action):
        self.cleanups.append(action)

    def note(self, text):
        print(f"    {self.name}: {text}", flush=True)

    def finish(self):
        for editor in self.editors:
            editor.close()
        while self.cleanups:
            self.cleanups.pop()()
        shutil.rmtree(self.root, ignore_errors=True)


def run(scenarios, delvard, failures):
    desktop, failed = Desktop(), 0
    try:
        for scenario in scenarios:
            ctx, began, ok = Context(desktop, delvard, scenario.__name__), time.monotonic(), True
            print(f"[ RUN      ] {ctx.name}", flush=True)
            try:
                scenario(ctx)
            except Exception:
                ok = False
                traceback.print_exc()
                Path(failures).mkdir(parents=True, exist_ok=True)
                desktop.screenshot(Path(failures) / f"{ctx.name}.png")
                for editor in ctx.editors:
                    print("    program output:\n" + Path(editor.program.log.name).read_text(errors="replace")[-2000:])
            try:
                ctx.finish()
            except Exception:
                ok = False
                traceback.print_exc()
            print(f"[ {'    OK' if ok else 'FAILED'} ] {ctx.name} ({time.monotonic() - began:.1f} s)", flush=True)
            failed += not ok
    finally:
        desktop.close()
    print(f"{len(scenarios) - failed} passed, {failed} failed")
    return failed == 0
