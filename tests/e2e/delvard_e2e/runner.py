"""Runs a group of scenarios on one private desktop and reports like a test runner.

A scenario is a function scenario(ctx). A failing one leaves a screenshot
of the whole screen in the failures folder, named after it.
"""

import shutil
import time
import traceback
from pathlib import Path

from .desktop import Desktop, fresh_program_folder, scratch
from .editor import Editor


class Context:
    def __init__(self, desktop, delvard, failures, name):
        self.desktop = desktop
        self.delvard = Path(delvard)
        self.failures = Path(failures)
        self.name = name
        self.root = scratch(name)
        self.editors = []
        self.cleanups = []  # run last-in first-out, also after a failure

    def program_folder(self, parent=None, name="program"):
        return fresh_program_folder(self.delvard, parent or self.root, name)

    def home(self):
        home = self.root / "home"
        home.mkdir(exist_ok=True)
        return home

    def start(self, program_folder):
        editor = Editor(self.desktop, program_folder, self.home())
        self.editors.append(editor)
        return editor

    def on_cleanup(self, action):
        self.cleanups.append(action)

    def note(self, text):
        print(f"    {self.name}: {text}", flush=True)

    def finish(self):
        for editor in self.editors:
            editor.close()
        problems = []
        while self.cleanups:
            action = self.cleanups.pop()
            try:
                action()
            except Exception as error:  # keep undoing the rest
                problems.append(error)
        shutil.rmtree(self.root, ignore_errors=True)
        if problems:
            raise problems[0]


def run(scenarios, delvard, failures):
    desktop = Desktop()
    passed = failed = 0
    started = time.monotonic()
    try:
        for scenario in scenarios:
            name = scenario.__name__
            ctx = Context(desktop, delvard, failures, name)
            began = time.monotonic()
            print(f"[ RUN      ] {name}", flush=True)
            try:
                scenario(ctx)
                ok = True
            except Exception:
                ok = False
                traceback.print_exc()
                ctx.failures.mkdir(parents=True, exist_ok=True)
                shot = ctx.failures / f"{name}.png"
                try:
                    desktop.screenshot(shot)
                    print(f"    screenshot: {shot}")
                except Exception as error:
                    print(f"    no screenshot: {error}")
                for editor in ctx.editors:
                    log = editor.program.log.name
                    try:
                        text = Path(log).read_text(errors="replace").strip()
                        if text:
                            print("    program output:\n" + text[-2000:])
                    except OSError:
                        pass
            try:
                ctx.finish()
            except Exception:
                ok = False
                traceback.print_exc()
            took = time.monotonic() - began
            print(f"[ {'    OK' if ok else 'FAILED'} ] {name} ({took:.1f} s)", flush=True)
            passed += ok
            failed += not ok
    finally:
        desktop.close()
    print(f"e2e: {time.monotonic() - started:.1f} s")
    print(f"{passed} passed, {failed} failed")
    return failed == 0
