#!/usr/bin/env python3
"""Drives the built editor in a private X server, from outside, as a user would.

usage: run_e2e.py DELVARD GROUP FAILURES_FOLDER
Runs itself inside a D-Bus session of its own (for the accessibility bus).
"""

import sys

sys.dont_write_bytecode = True  # keep the source tree clean

import importlib
import importlib.util
import os
import shutil
from pathlib import Path

SKIPPED = 77  # ctest's SKIP_RETURN_CODE for this suite
NEEDED = ["Xvfb", "xdotool", "import", "dbus-run-session", "chattr", "mount"]

sys.path.insert(0, str(Path(__file__).resolve().parent))
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))  # desktop_driver


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
    from delvard_e2e import runner

    scenarios = importlib.import_module(f"delvard_e2e.scenarios_{group}").SCENARIOS
    only = os.environ.get("DELVARD_E2E_ONLY")
    if only:
        scenarios = [s for s in scenarios if s.__name__ in only.split(",")]
    return 0 if runner.run(scenarios, delvard, failures) else 1


if __name__ == "__main__":
    sys.exit(main())
