"""A newcomer's first hour with the program: a map made from a bare data
file, the first example opened and clicked, a file that is not a map.

Run through scripts/e2e-tests, which gives these tests an X server, a private
D-Bus bus with an accessibility bus, and DEMLA_BINARY.
"""

import os
import re
import shutil
import subprocess
import tempfile
import unittest
import warnings

import pyatspi

from atspi_support import (Demla, binary, children, find_all, page_point, run_tests, wait_for,
                           xdotool)

warnings.filterwarnings("ignore", category=DeprecationWarning)

MALE = "dk-male-mortality.dml"
MALE_MAP = f"{MALE} – Map"


class CommandLineMapTest(unittest.TestCase):
    """`demla new` on a bare CSV, then `demla render`: a map, not a blank
    page."""

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="demla-e2e-new-")
        self.addCleanup(shutil.rmtree, self.folder, True)

    def run_demla(self, *arguments):
        return subprocess.run([binary(), *arguments], cwd=self.folder, check=False, timeout=60,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)

    def test_new_then_render_draws_colours_ticks_and_titles(self):
        rows = [",".join(str((age + 1) * (year + 3) % 97) for year in range(30))
                for age in range(40)]
        with open(os.path.join(self.folder, "rates.csv"), "w", encoding="ascii") as stream:
            stream.write("\r\n".join(rows) + "\r\n")
        made = self.run_demla("new", "rates.csv")
        self.assertEqual(made.returncode, 0, made.stderr)
        drawn = self.run_demla("render", "rates.dml", "-o", "rates.svg")
        self.assertEqual(drawn.returncode, 0, drawn.stderr)
        with open(os.path.join(self.folder, "rates.svg"), encoding="utf-8") as stream:
            svg = stream.read()
        fills = set(re.findall(r'fill="(#[0-9a-fA-F]{6})"', svg)) - {"#ffffff", "#000000"}
        self.assertGreaterEqual(len(fills), 5, "the levels are drawn in their colours")
        texts = set(re.findall(r">([^<>]+)</text>", svg))
        for label in ("Main Title", "Columns", "Rows"):
            self.assertIn(label, {text.strip() for text in texts})
        self.assertTrue(any(text.strip().startswith("10") for text in texts),
                        f"the axes have tick labels: {sorted(texts)}")


class FirstExampleTest(unittest.TestCase):
    """The male mortality example, which a page-wide hollow frame surrounds:
    clicks reach the title, the tick band and the legend through it."""

    @classmethod
    def setUpClass(cls):
        cls.demla = Demla(MALE).open(MALE_MAP)

    @classmethod
    def tearDownClass(cls):
        cls.demla.stop()

    def setUp(self):
        self.demla.focus_window()

    def device_point(self, page_x, page_y):
        window = self.demla.child_windows()[MALE_MAP]
        return page_point(find_all(window, role=pyatspi.ROLE_FILLER, name="Map")[0],
                          page_x, page_y)

    def dialogs(self):
        return [child for child in children(self.demla.app)
                if child.getRole() == pyatspi.ROLE_DIALOG and child.name]

    def click_opens(self, page_x, page_y, title):
        x, y = self.device_point(page_x, page_y)
        xdotool("mousemove", "--sync", str(x), str(y))
        xdotool("click", "1")
        dialog = wait_for(f"a dialog after a click at page ({page_x}, {page_y})",
                          lambda: next(iter(self.dialogs()), None))
        self.assertEqual(dialog.name, title)
        tabs = [tab.name for tab in find_all(dialog, role=pyatspi.ROLE_PAGE_TAB)]
        self.demla.keys("Escape")
        wait_for("the dialog to close", lambda: not self.dialogs())
        return tabs

    def test_title_tick_band_and_legend_open_their_own_sheets(self):
        # The plot spans page x 330 .. 2138 and y 300 .. 1800; the title
        # stands above it, the x ticks below it, the legend to its right.
        self.assertIn("Title", self.click_opens(1234, 1865, "Plot Frame"))
        self.assertIn("X-Ticks", self.click_opens(1234, 285, "Plot Frame"))
        # The legend's boxes span page x 2238 .. 2338; its ticks stand
        # right of them.
        self.click_opens(2352, 1000, "Scale")
        # The frame itself is still reached on its outline.
        self.click_opens(150, 1000, "Rectangle")


class NotAMapTest(unittest.TestCase):
    """A table saved as .dml opens with a message instead of a silent blank
    page."""

    def test_a_table_named_dml_says_it_is_not_a_setup_file(self):
        demla = Demla("table.dml", written={"table.dml": b"1,2,3\r\n4,5,6\r\n"})
        self.addCleanup(demla.stop)
        demla.start()

        def message():
            for child in children(demla.app):
                for label in find_all(child, role=pyatspi.ROLE_LABEL):
                    if "is not a setup file of Demla" in (label.name or ""):
                        return child
            return None
        box = wait_for("the message that the file is not a setup file", message)
        self.assertEqual(box.name, "Warning")


if __name__ == "__main__":
    run_tests()
