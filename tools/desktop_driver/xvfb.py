"""A private Xvfb on a display number the server picks itself."""

import os
import select
import subprocess
import time


class XvfbError(Exception):
    pass


class Xvfb:
    """Started with -displayfd, so two runs at once never race for a number."""

    def __init__(self, width, height, timeout=60):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        try:
            number = b""
            deadline = time.monotonic() + timeout
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], max(deadline - time.monotonic(), 0))
                if not ready:
                    raise XvfbError(f"Xvfb did not report its display within {timeout} s")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise XvfbError("Xvfb ended before it reported its display")
                number += chunk
        except XvfbError:
            self.stop()
            raise
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.size = (width, height)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
