#!/usr/bin/env python3
"""Drives the built editor in a private X server, from outside, as a user would.

usage: run_e2e.py DELVARD GROUP FAILURES_FOLDER
Runs itself inside a D-Bus session of its own (for the accessibility bus).
"""

import sys

sys.dont_write_bytecode = True  # keep the source tree clean

import importlib.util
import os
import shutil
from pathlib import Path

SKIPPED = 77  # ctest's SKIP_RETURN_CODE for this suite

NEEDED_PROGRAMS = ["Xvfb", "xdotool", "import", "xprop", "xwininfo", "dbus-run-session",
                   "chattr", "mount"]

sys.path.insert(0, str(Path(__file__).resolve().parent))


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    missing = [p for p in NEEDED_PROGRAMS if shutil.which(p) is None]
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        missing.append("at-spi2-core")
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("python3-pyatspi")
    if missing:
        print("e2e skipped, missing: " + ", ".join(missing) + " (tools/ensure-packages.sh installs them)")
        return SKIPPED
    if os.environ.get("DELVARD_E2E_SESSION") != "1":
        env = dict(os.environ, DELVARD_E2E_SESSION="1")
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        os.execvpe("dbus-run-session",
                   ["dbus-run-session", "--", sys.executable, *sys.argv], env)
    delvard, group, failures = sys.argv[1:]
    from delvard_e2e import runner, scenarios_road

    groups = {"road": scenarios_road.SCENARIOS}
    try:
        from delvard_e2e import scenarios_faults
        groups["faults"] = scenarios_faults.SCENARIOS
    except ImportError:
        pass
    try:
        from delvard_e2e import scenarios_load
        groups["load"] = scenarios_load.SCENARIOS
    except ImportError:
        pass
    selected = groups[group]
    only = os.environ.get("DELVARD_E2E_ONLY")
    if only:
        selected = [s for s in selected if s.__name__ in only.split(",")]
    return 0 if runner.run(selected, delvard, failures) else 1


if __name__ == "__main__":
    sys.exit(main())
