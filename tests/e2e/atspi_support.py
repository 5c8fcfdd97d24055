"""Starting the program and reading its window through AT-SPI.

The tests read the window as a screen reader does: through the accessibility
bus, by role, name and state. Key presses go to the X server with xdotool, as
from a keyboard. Every wait is bounded.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import pyatspi
from gi.repository import Atspi

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.normpath(os.path.join(HERE, "..", "..", "examples"))

# How long the program may take to show its window and open its files.
START_SECONDS = 30
# How long a change of the window may take to show through AT-SPI.
CHANGE_SECONDS = 10

# The roles of the controls a person operates: each needs a name that a
# screen reader can say.
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_MENU,
    pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_RADIO_MENU_ITEM,
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_PAGE_TAB,
}

# A program busy drawing a map answers late: calls wait this long (ms) for an
# answer, and longer while the program starts.
Atspi.set_timeout(10000, 30000)

MENU_ROLES = {pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU}


def binary():
    path = os.environ.get("DEMLA_BINARY", "")
    if not path or not os.access(path, os.X_OK):
        raise AssertionError(f"DEMLA_BINARY={path!r} does not name an executable program")
    return path


def wait_for(what, probe, seconds=CHANGE_SECONDS, interval=0.1):
    """Calls probe until it returns something true, and returns that.

    Fails with a message naming what was awaited when the time is up. An
    AT-SPI error while the window changes counts as "not yet".
    """
    deadline = time.monotonic() + seconds
    last_error = None
    while True:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # noqa: BLE001 - the tree may change under us
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise AssertionError(f"timed out after {seconds} s waiting for {what}{detail}")
        time.sleep(interval)


def fresh(accessible):
    """Drops what the client library keeps of an object, so the next read asks
    the program."""
    try:
        accessible.clear_cache()
    except Exception:  # noqa: BLE001 - older libraries have no cache to clear
        pass
    return accessible


def children(accessible):
    fresh(accessible)
    result = []
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            result.append(child)
    return result


def states(accessible):
    return set(fresh(accessible).getState().getStates())


def is_showing(accessible):
    return pyatspi.STATE_SHOWING in states(accessible)


def walk(accessible, skip=None, limit=5000):
    """Yields (object, ancestors) for the object and everything below it,
    leaving out the objects for which skip is true, with all below them."""
    pending = [(accessible, ())]
    seen = 0
    while pending:
        node, ancestors = pending.pop()
        if skip is not None and skip(node):
            continue
        seen += 1
        if seen > limit:
            raise AssertionError(f"more than {limit} accessible objects: is the tree looping?")
        yield node, ancestors
        for child in reversed(children(node)):
            pending.append((child, ancestors + (node,)))


def find_all(accessible, role=None, name=None):
    found = []
    for node, _ in walk(accessible):
        if role is not None and node.getRole() != role:
            continue
        if name is not None and node.name != name:
            continue
        found.append(node)
    return found


def item_names(popup):
    """The names of a menu's items, in order, without separators."""
    return [child.name for child in children(popup) if child.getRole() != pyatspi.ROLE_SEPARATOR]


def popup_of(menu_item):
    """The pop-up menu under an item of the menu bar."""
    for child in children(menu_item):
        if child.getRole() in (pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_MENU):
            return child
    raise AssertionError(f"menu {menu_item.name!r} has no pop-up menu")


def press(accessible):
    """Does the object's first action ("Press" for buttons and menu items)."""
    action = accessible.queryAction()
    if action.nActions < 1:
        raise AssertionError(f"{accessible.name!r} offers no action")
    return action.doAction(0)


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True, timeout=10,
                   stdout=subprocess.PIPE, stderr=subprocess.PIPE)


def screenshot(path):
    """Saves the whole screen, for a look by eye."""
    subprocess.run(["import", "-window", "root", path], check=True, timeout=30)


class Demla:
    """One run of the program on copies of example setup files."""

    def __init__(self, *files, written=None):
        """Opens copies of the examples named (with their data), and of the
        files in written, a dict of name to bytes, in a folder of its own."""
        self.folder = tempfile.mkdtemp(prefix="demla-e2e-")
        for name in files:
            stem = os.path.splitext(name)[0]
            for example in os.listdir(EXAMPLES):
                if os.path.splitext(example)[0] == stem:
                    shutil.copy(os.path.join(EXAMPLES, example), self.folder)
        for name, data in (written or {}).items():
            with open(os.path.join(self.folder, name), "wb") as stream:
                stream.write(data)
        self.files = files
        self.log_path = os.path.join(self.folder, "demla.log")
        self._log = open(self.log_path, "wb")
        self.process = subprocess.Popen([binary(), *files], cwd=self.folder,
                                        stdin=subprocess.DEVNULL, stdout=self._log,
                                        stderr=subprocess.STDOUT)
        self.app = None
        self.frame = None

    def open(self, *titles):
        """Starts the program and waits for the child windows with these
        titles; stops it again when that fails."""
        try:
            self.start()
            self.wait_for_windows(*titles)
        except BaseException:
            self.stop()
            raise
        return self

    def path(self, name):
        return os.path.join(self.folder, name)

    def log(self):
        self._log.flush()
        with open(self.log_path, "rb") as stream:
            return stream.read().decode("utf-8", "replace")

    def start(self):
        """Waits for the program on the desktop and returns its main frame."""
        self.app = wait_for("the program on the AT-SPI desktop", self._find_app, START_SECONDS)
        self.frame = wait_for("the program's main frame", self._find_frame, START_SECONDS)
        return self.frame

    def _find_app(self):
        if self.process.poll() is not None:
            raise AssertionError(
                f"the program ended with status {self.process.returncode}:\n{self.log()}")
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app.get_process_id() == self.process.pid:
                    return app
            except Exception:  # noqa: BLE001 - an application that has just gone
                continue
        return None

    def _find_frame(self):
        for child in children(self.app):
            if child.getRole() == pyatspi.ROLE_FRAME and child.name.startswith("Demla"):
                return child
        return None

    def area(self):
        """The area that holds the child windows."""
        panes = find_all(self.frame, role=pyatspi.ROLE_LAYERED_PANE)
        if len(panes) != 1:
            raise AssertionError(f"expected one area of child windows, found {len(panes)}")
        return panes[0]

    def child_windows(self):
        """The child windows by title."""
        return {window.name: window for window in children(self.area())
                if window.getRole() in (pyatspi.ROLE_FRAME, pyatspi.ROLE_INTERNAL_FRAME)}

    def wait_for_windows(self, *titles):
        return wait_for(f"the child windows {titles}",
                        lambda: set(titles) <= set(self.child_windows()) and self.child_windows(),
                        START_SECONDS)

    def menu_bar(self):
        bars = [child for child in children(self.frame) if child.getRole() == pyatspi.ROLE_MENU_BAR]
        if len(bars) != 1:
            raise AssertionError(f"expected one menu bar, found {len(bars)}")
        return bars[0]

    def menu(self, title):
        """The item of the menu bar with this title."""
        for item in children(self.menu_bar()):
            if item.name == title:
                return item
        raise AssertionError(f"no menu {title!r} in the menu bar")

    def tool_bar(self):
        bars = [child for child in children(self.frame) if child.getRole() == pyatspi.ROLE_TOOL_BAR]
        if len(bars) != 1:
            raise AssertionError(f"expected one tool bar, found {len(bars)}")
        return bars[0]

    def status_bar(self):
        bars = find_all(self.frame, role=pyatspi.ROLE_STATUS_BAR)
        if len(bars) != 1:
            raise AssertionError(f"expected one status bar, found {len(bars)}")
        return bars[0]

    def x_window(self):
        """The X window of the main frame."""
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                str(self.process.pid), "--name", "^Demla"],
                               check=False, timeout=10, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True).stdout.split()
        if not found:
            raise AssertionError("xdotool finds no window of the program")
        return found[0]

    def focus_window(self):
        """Gives the main window the keyboard focus, so key presses reach it."""
        xdotool("windowfocus", "--sync", self.x_window())
        wait_for("the main frame to be active",
                 lambda: pyatspi.STATE_ACTIVE in states(self.frame))

    def resize(self, width, height):
        xdotool("windowsize", "--sync", self.x_window(), str(width), str(height))
        wait_for(f"the main frame to be {width} pixels wide",
                 lambda: self.frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width
                 == width)

    def keys(self, *keys):
        xdotool("key", "--delay", "50", *keys)

    def wait_exit(self, seconds):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            if self.wait_exit(5) is None:
                self.process.kill()
                self.process.wait(timeout=10)
        self._log.close()
        shutil.rmtree(self.folder, ignore_errors=True)


def page_point(map_widget, page_x, page_y):
    """The screen point of a page point of a map view that shows its whole
    A4 landscape page (after Fit Page)."""
    box = map_widget.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    width, height = 2970.0, 2100.0
    sx, sy = box.width / width, box.height / height
    if sx <= sy:
        scale, left, top = sx, 0.0, height + (box.height / sx - height) / 2
    else:
        scale, left, top = sy, -(box.width / sy - width) / 2, height
    return (int(box.x + (page_x - left) * scale),
            int(box.y + (top - page_y) * scale))


def run_tests():
    """Runs the tests of the calling file and ends the process with 0 when
    they all passed (and there were some)."""
    result = unittest.main(exit=False, verbosity=2, warnings=False).result
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    passed = result.testsRun - failed - len(result.skipped)
    print(f"e2e: {passed} passed, {failed} failed, {len(result.skipped)} skipped")
    sys.exit(0 if result.wasSuccessful() and result.testsRun > 0 else 1)
