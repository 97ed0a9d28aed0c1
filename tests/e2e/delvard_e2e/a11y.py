"""Reading the program's windows through the AT-SPI accessibility tree.

pyatspi is imported on first use, after the X display and the
accessibility bus of the run exist.
"""

import time

_pyatspi = None


def atspi():
    global _pyatspi
    if _pyatspi is None:
        import pyatspi  # noqa: E402  (needs DISPLAY and the session bus first)

        _pyatspi = pyatspi
    return _pyatspi


class Timeout(AssertionError):
    pass


def wait_for(probe, timeout, what, interval=0.05):
    """Polls probe() until it returns something true; that is the result."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # a window that is going away answers badly
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Timeout(f"timed out after {timeout} s waiting for {what}{detail}")
        time.sleep(interval)


def application_of(pid):
    desktop = atspi().Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def role(node):
    return node.getRoleName()


def children(node):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield child


def walk(node, depth=0, max_depth=12):
    yield node
    if depth >= max_depth:
        return
    for child in children(node):
        yield from walk(child, depth + 1, max_depth)


def find(node, name=None, role_name=None, max_depth=12, predicate=None):
    for candidate in walk(node, max_depth=max_depth):
        if name is not None and candidate.name != name:
            continue
        if role_name is not None and role(candidate) != role_name:
            continue
        if predicate is not None and not predicate(candidate):
            continue
        return candidate
    return None


def find_all(node, name=None, role_name=None, max_depth=12):
    return [c for c in walk(node, max_depth=max_depth)
            if (name is None or c.name == name) and (role_name is None or role(c) == role_name)]


def top_windows(app):
    """The program's top-level windows that are showing."""
    shown = []
    for window in children(app):
        try:
            if has_state(window, "showing"):
                shown.append(window)
        except Exception:
            continue
    return shown


def window_titled(app, title):
    for window in top_windows(app):
        if window.name == title:
            return window
    return None


def has_state(node, state_name):
    states = node.getState()
    return states.contains(getattr(atspi(), "STATE_" + state_name.upper()))


def extents(node):
    """(x, y, width, height) on the screen."""
    box = node.queryComponent().getExtents(atspi().DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def centre(node):
    x, y, w, h = extents(node)
    return x + w // 2, y + h // 2


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return node.name


def texts_below(node):
    """Every label and name below node, for reading a message box."""
    found = []
    for candidate in walk(node):
        if role(candidate) in ("label", "text", "static") and candidate.name:
            found.append(candidate.name)
    return found
