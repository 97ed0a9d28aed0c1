"""Reading the program's windows through the AT-SPI accessibility tree, and
hearing its events. pyatspi is imported on first use, once the display and
the bus exist."""

import time


def atspi():
    import pyatspi  # noqa: E402  (needs DISPLAY and the session bus first)
    return pyatspi


class Timeout(AssertionError):
    pass


class Abort(AssertionError):
    """Raised by a probe when no wait can help any more, as when the program
    has ended: wait_for passes it on at once."""


def wait_for(probe, timeout, what, interval=0.05):
    """Polls probe() until it returns something true; that is the result."""
    deadline, last_error = time.monotonic() + timeout, None
    while True:
        try:
            result = probe()
            if result:
                return result
        except Abort:
            raise
        except Exception as error:  # a window that is going away answers badly
            last_error = error
        if time.monotonic() > deadline:
            raise Timeout(f"timed out after {timeout} s waiting for {what}"
                          + (f" (last error: {last_error})" if last_error else ""))
        time.sleep(interval)


def application_of(pid):
    for app in children(atspi().Registry.getDesktop(0)):
        try:
            if app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def role(node):
    return node.getRoleName()


def children(node):
    return (c for c in (node.getChildAtIndex(i) for i in range(node.childCount)) if c is not None)


def walk(node, depth=0, max_depth=12):
    """The node and those below it. A map's cells are not walked: there may
    be 65,025 of them; they are reached through the table (map_cell)."""
    yield node
    if depth < max_depth and not (depth > 0 and role(node) in ("table", "canvas")):
        for child in children(node):
            yield from walk(child, depth + 1, max_depth)


def find(node, name=None, role_name=None, max_depth=12):
    return next((c for c in walk(node, max_depth=max_depth)
                 if (name is None or c.name == name) and (role_name is None or role(c) == role_name)), None)


def has_state(node, state_name):
    return node.getState().contains(getattr(atspi(), "STATE_" + state_name.upper()))


def gone(node):
    """Whether a window was closed: no longer showing, or no longer there."""
    try:
        return not has_state(node, "showing")
    except Exception:
        return True


def top_windows(app):
    return [w for w in children(app) if has_state(w, "showing")]


def extents(node):
    """(x, y, width, height) on the screen."""
    box = node.queryComponent().getExtents(atspi().DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def centre(node):
    x, y, w, h = extents(node)
    return x + w // 2, y + h // 2


class Event:
    """One event as heard: its type ("object:state-changed:focused"), its
    first detail (1 for a state set), and the name and role of the object it
    is about. A name event carries no name: the object is asked for its new
    one, on first use rather than when heard (see Events)."""

    def __init__(self, kind, detail, about):
        self.kind, self.detail, self._about, self._asked = kind, detail, about, None

    def _ask(self):
        if self._asked is None:
            try:
                self._asked = (self._about.name, role(self._about))
            except Exception:  # the object went away before it was asked
                self._asked = (None, None)
        return self._asked

    @property
    def source(self):
        return self._ask()[0]

    @property
    def role(self):
        return self._ask()[1]

    def __repr__(self):
        return f"Event({self.kind}, {self.detail}, {self.role} {self.source!r})"


class Events:
    """The events of some types that the accessibility bus carries, kept in
    the order they arrive. Start listening before the program starts: a
    program asks which events are wanted when it joins the bus, and hears of
    a later listener through a message that need not come before the next
    key. pyatspi hands events over in GLib's default main context; every
    look runs that context first. Events are handed over inside any call to
    the program; hearing one asks the program nothing, so that a listener
    does not add calls of its own to whatever the program is doing then."""

    def __init__(self, *kinds):
        self.kinds, self.heard = kinds, []
        atspi().Registry.registerEventListener(self._hear, *kinds)

    def _hear(self, event):
        self.heard.append(Event(str(event.type), event.detail1, event.source))

    def _deliver(self):
        from gi.repository import GLib
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass

    def mark(self):
        """A place in the list: what arrives after it comes after the marking."""
        self._deliver()
        return len(self.heard)

    def since(self, mark):
        self._deliver()
        return self.heard[mark:]

    def wait(self, mark, match, timeout, what):
        """The first event after mark that match(event) accepts."""
        try:
            return wait_for(lambda: next((e for e in self.since(mark) if match(e)), None), timeout, what)
        except Timeout as timeout_error:
            raise Timeout(f"{timeout_error}; heard since: {self.since(mark)[-12:]}") from None

    def close(self):
        atspi().Registry.deregisterEventListener(self._hear, *self.kinds)
