"""The screen reader Orca on a private desktop, with a small window manager,
and what it says, read from its speech log rather than heard.

Orca logs every utterance to the Python logger named "speech" before it
hands it to a speech server; it is given none (without a running speech
dispatcher, stopping speech stalls Orca at the first key). A launcher adds
a file handler to that logger, written a line at a time, and starts Orca's
main loop directly (Orca's own command refuses to start beside another
user's Orca on the same machine). ORCA_DEBUG_FILE names a file for Orca's
own debug log, which tells why it said or left out something."""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

from . import a11y

LAUNCHER = """
import logging, sys
speech = logging.getLogger("speech")
speech.setLevel(logging.INFO)
speech.addHandler(logging.FileHandler(sys.argv[1], encoding="utf-8"))  # flushed after each line
import os
from orca import debug, orca, settings
settings.speechFactoryModules = []  # no speech server: one that is not there stalls Orca at the first key
if os.environ.get("ORCA_DEBUG_FILE"):
    debug.debugLevel, debug.debugFile = debug.LEVEL_INFO, open(os.environ["ORCA_DEBUG_FILE"], "w", buffering=1)
orca.getSettingsManager().activate(sys.argv[2], {"speechServerFactory": "none"})
sys.exit(orca.main())
"""

# A spoken record, and whether it is the echo of a key ("'o ' {voice}"),
# which Orca logs with its voice settings; announcements are logged bare.
# A record runs on over the next lines when the words hold line breaks, as a
# message box's text does.
ECHO_OR_WORDS = re.compile(r"^SPEECH OUTPUT: '(.*?)'( \{.*)?(?: voice=\S+)?$", re.DOTALL)
RECORD_START = re.compile(r"\n(?=SPEECH OUTPUT: )")


def missing():
    """Why no screen reader can run here, or None."""
    if shutil.which("openbox") is None or shutil.which("orca") is None:
        return "orca and openbox are not installed (tools/ensure-packages.sh installs them)"
    return None


class Orca:
    """openbox, then Orca with the screen reader switched on, on a desktop's
    display; its words as a list of lines, key echoes left out."""

    def __init__(self, desktop, folder, timeout=60):
        folder = Path(folder)
        (folder / "prefs").mkdir(parents=True, exist_ok=True)
        self.log_path = folder / "speech.log"
        self.log_path.touch()
        env = dict(os.environ, DISPLAY=desktop.display, HOME=str(folder), GTK_A11Y="none",
                   XDG_CONFIG_HOME=str(folder / "config"), XDG_DATA_HOME=str(folder / "data"))
        self.processes = [subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)]
        subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "/org/a11y/bus",
                        "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                        "string:ScreenReaderEnabled", "variant:boolean:true"], check=True)
        self.processes.append(subprocess.Popen(
            [sys.executable, "-c", LAUNCHER, str(self.log_path), str(folder / "prefs")], env=env,
            stdout=open(folder / "orca.out", "wb"), stderr=subprocess.STDOUT))
        try:  # its first words ("Screen reader on.") say it listens
            a11y.wait_for(lambda: self.mark() or self.processes[-1].poll() is not None, timeout,
                          "Orca's first words")
            if self.processes[-1].poll() is not None:
                raise a11y.Timeout("Orca ended: " + (folder / "orca.out").read_text(errors="replace")[-600:])
        except BaseException:
            self.close()
            raise

    def _said(self):
        """(utterance, is a key echo) for each record Orca logged."""
        records = RECORD_START.split(self.log_path.read_text(encoding="utf-8", errors="replace").strip("\n"))
        found = (ECHO_OR_WORDS.match(record) for record in records)
        return [(m.group(1), m.group(2) is not None) for m in found if m]

    def mark(self):
        """A place in the log: what Orca says after it comes after the mark."""
        return len(self._said())

    def words(self, mark=0):
        """What Orca said since mark, an utterance a line, key echoes left out."""
        return [text for text, echo in self._said()[mark:] if not echo and text.strip()]

    def wait_said(self, mark, match, what, timeout=15):
        """The first utterance since mark that match accepts; on failure the
        message lists what was said instead."""
        try:
            return a11y.wait_for(lambda: next((w for w in self.words(mark) if match(w)), None), timeout, what)
        except a11y.Timeout as timeout_error:
            raise a11y.Timeout(f"{timeout_error}; Orca said since: {self.words(mark)[-12:]}") from None

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
