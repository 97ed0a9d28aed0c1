#!/usr/bin/env python3
"""Drives the built editor in a private X server, from outside, as a user would.

usage: run_e2e.py DELVARD GROUP FAILURES_FOLDER
Runs itself inside a D-Bus session of its own (for the accessibility bus),
then the group's scenarios on one private desktop, reporting like a test
runner; a failing scenario leaves a screenshot named after it.
"""

import sys

sys.dont_write_bytecode = True  # keep the source tree clean

import importlib
import importlib.util
import os
import shutil
import time
import traceback
from pathlib import Path

SKIPPED = 77  # ctest's SKIP_RETURN_CODE for this suite
NEEDED = ["Xvfb", "xdotool", "import", "dbus-run-session"]

sys.path.insert(0, str(Path(__file__).resolve().parent))
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))  # desktop_driver
from desktop_driver.desktop import Desktop, fresh_program_folder, scratch  # noqa: E402
from desktop_driver.editor import Editor  # noqa: E402


class Context:
    def __init__(self, desktop, delvard, name):
        self.desktop, self.delvard, self.name = desktop, Path(delvard), name
        self.root = scratch(name)
        self.editors, self.cleanups = [], []  # cleanups run last-in first-out, also after a failure

    def program_folder(self):
        return fresh_program_folder(self.delvard, self.root)

    def start(self, program_folder):
        (self.root / "home").mkdir(exist_ok=True)
        self.editors.append(Editor(self.desktop, program_folder, self.root / "home"))
        return self.editors[-1]

    def on_cleanup(self, action):
        self.cleanups.append(action)

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


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    missing = [p for p in NEEDED if shutil.which(p) is None]
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher") or importlib.util.find_spec("pyatspi") is None:
        missing.append("at-spi2-core and python3-pyatspi")
    if missing:
        print("e2e skipped, missing: " + ", ".join(missing) + " (tools/ensure-packages.sh installs them)")
        return SKIPPED
    if os.environ.get("DELVARD_E2E_SESSION") != "1":
        env = dict(os.environ, DELVARD_E2E_SESSION="1")
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        os.execvpe("dbus-run-session", ["dbus-run-session", "--", sys.executable, *sys.argv], env)
    delvard, group, failures = sys.argv[1:]
    scenarios = importlib.import_module(f"delvard_e2e.scenarios_{group}").SCENARIOS
    only = os.environ.get("DELVARD_E2E_ONLY")
    if only:
        scenarios = [s for s in scenarios if s.__name__ in only.split(",")]
    return 0 if run(scenarios, delvard, failures) else 1


if __name__ == "__main__":
    sys.exit(main())
