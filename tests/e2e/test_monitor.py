"""Monitor mode as another program drives it: the map follows good data,
and bad data never stop it with a question.

Run through scripts/e2e-tests, which gives these tests an X server, a private
D-Bus bus with an accessibility bus, and DEMLA_BINARY.
"""

import os
import subprocess
import sys
import tempfile
import unittest
import warnings

import pyatspi

from atspi_support import Demla, children, find_all, popup_of, press, run_tests, wait_for

# The client library warns on every call of its older names.
warnings.filterwarnings("ignore", category=DeprecationWarning)

MALE = "dk-male-mortality.dml"
DATA = "dk-male-mortality.csv"
MALE_MAP = f"{MALE} – Map"
SEMAPHORE = "~1.TMP"
RAGGED_CAUSE = "Different text lines have different number of fields"


# Presses Edit, Special, Monitor Mode in the program whose process id is the
# first argument.
PRESS_MONITOR_MODE = """
import sys, warnings
warnings.filterwarnings("ignore", category=DeprecationWarning)
import pyatspi
from atspi_support import children, popup_of, press, wait_for
pid = int(sys.argv[1])
def frame():
    for app in children(pyatspi.Registry.getDesktop(0)):
        if app.get_process_id() == pid:
            return next(c for c in children(app) if c.getRole() == pyatspi.ROLE_FRAME)
    return None
main = wait_for("the program", frame)
bar = next(c for c in children(main) if c.getRole() == pyatspi.ROLE_MENU_BAR)
edit = next(c for c in children(bar) if c.name == "Edit")
special = next(c for c in children(popup_of(edit)) if c.name == "Special")
item = next(c for c in children(popup_of(special)) if c.name == "Monitor Mode")
press(item)
"""


class MonitorModeTest(unittest.TestCase):
    """A copy of the male mortality example in a folder of its own, watched
    through place 1."""

    def setUp(self):
        self.demla = Demla(MALE)
        self.addCleanup(self.demla.stop)
        self.demla.start()
        self.demla.wait_for_windows(MALE_MAP)
        self.pictures = tempfile.mkdtemp(prefix="demla-monitor-")
        self.addCleanup(subprocess.run, ["rm", "-rf", self.pictures], check=False)

    def windows_besides_the_frame(self):
        return [(child.getRoleName(), child.name) for child in children(self.demla.app)
                if child is not None and child != self.demla.frame]

    def enter_monitor_mode(self):
        # Monitor Mode opens a box before its action returns, so the press
        # comes from a process of its own that is not waited for.
        presser = subprocess.Popen([sys.executable, "-c", PRESS_MONITOR_MODE,
                                    str(self.demla.process.pid)],
                                   cwd=os.path.dirname(os.path.abspath(__file__)),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

        def stop_presser():
            if presser.poll() is None:
                presser.kill()
            presser.wait(timeout=10)
            presser.stderr.close()
        self.addCleanup(stop_presser)

        def entering_box():
            for child in children(self.demla.app):
                buttons = find_all(child, role=pyatspi.ROLE_PUSH_BUTTON, name="OK")
                if child != self.demla.frame and buttons:
                    return buttons[0]
            return None
        press(wait_for("the box that names the semaphore file", entering_box))
        wait_for("the box to close", lambda: not self.windows_besides_the_frame())
        wait_for("the caption to name the semaphore file",
                 lambda: any(f"Semaphore {SEMAPHORE}" in name
                             for name in self.demla.child_windows()))

    def signal(self):
        """Signals new data as the other program does, and waits for the map
        to answer by deleting the semaphore file."""
        path = self.demla.path(SEMAPHORE)
        with open(path, "w", encoding="ascii"):
            pass
        wait_for("the semaphore file to be answered", lambda: not os.path.exists(path))

    def map_picture(self, name):
        """The pixels of the map widget, as raw RGB bytes."""
        window = next(iter(self.demla.child_windows().values()))
        map_widget = find_all(window, role=pyatspi.ROLE_FILLER, name="Map")[0]
        box = map_widget.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        path = os.path.join(self.pictures, name)
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{box.width}x{box.height}+{box.x}+{box.y}", f"rgb:{path}"],
                       check=True, timeout=30)
        with open(path, "rb") as stream:
            return stream.read()

    def test_bad_data_asks_nothing_and_good_data_redraws(self):
        demla = self.demla
        data = demla.path(DATA)
        with open(data, "rb") as stream:
            rows = stream.read().decode("ascii").splitlines()
        self.enter_monitor_mode()
        before = self.map_picture("before")

        # A ragged file: the reload fails, and nobody is asked about it.
        with open(data, "w", encoding="ascii") as stream:
            stream.write("1,2,3\r\n4,5\r\n")
        self.signal()
        line = f"Cannot reload {DATA}: {RAGGED_CAUSE}"
        wait_for("the status bar to name the file and the cause",
                 lambda: demla.status_bar().name == line)
        self.assertEqual(self.windows_besides_the_frame(), [],
                         "a failed reload in monitor mode should show no box")
        titles = list(demla.child_windows())
        self.assertEqual(len(titles), 1)
        self.assertIn(line, titles[0], "the child window's caption should say why")
        self.assertEqual(self.map_picture("after-bad"), before,
                         "the last good map should stay on the screen")

        # Good data of the same shape, every rate 50 per 1000: one colour.
        columns = len(rows[0].split(","))
        with open(data, "w", encoding="ascii") as stream:
            for _ in rows:
                stream.write(",".join(["50"] * columns) + "\r\n")
        self.signal()
        wait_for("the caption to lose the failure",
                 lambda: all("Cannot reload" not in title for title in demla.child_windows()))
        self.assertNotEqual(demla.status_bar().name, line)
        wait_for("the map to show the new data", lambda: self.map_picture("after-good") != before)
        self.assertEqual(self.windows_besides_the_frame(), [])
        self.assertIsNone(demla.process.poll(), demla.log())


if __name__ == "__main__":
    run_tests()
