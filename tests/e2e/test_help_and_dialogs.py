"""The manual in the program's own window, and sheets that fit a small screen.

Run through scripts/e2e-tests, which gives these tests an X server, a private
D-Bus bus with an accessibility bus, and DEMLA_BINARY.
"""

import subprocess
import unittest
import warnings

import pyatspi

from atspi_support import (Demla, children, find_all, is_showing, popup_of, press, states,
                           wait_for, xdotool)

warnings.filterwarnings("ignore", category=DeprecationWarning)

MALE = "dk-male-mortality.dml"
MALE_MAP = f"{MALE} – Map"
# The smallest screen the program is made for.
SMALL = (800, 600)


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def inside(node, area):
    x, y, width, height = extents(node)
    ax, ay, aw, ah = area
    return ax <= x and ay <= y and x + width <= ax + aw and y + height <= ay + ah


class HelpAndSheetsTest(unittest.TestCase):
    """One program on the male mortality example, its window 800 x 600 at
    the screen's corner."""

    @classmethod
    def setUpClass(cls):
        cls.demla = Demla(MALE)
        try:
            cls.demla.start()
            cls.demla.wait_for_windows(MALE_MAP)
            xdotool("windowmove", "--sync", cls.demla.x_window(), "0", "0")
            cls.demla.resize(*SMALL)
        except BaseException:
            cls.demla.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.demla.stop()

    def top_window(self, name):
        for child in children(self.demla.app):
            if child.name == name and is_showing(child):
                return child
        return None

    def map_widget(self):
        window = self.demla.child_windows()[MALE_MAP]
        return find_all(window, role=pyatspi.ROLE_FILLER, name="Map")[0]

    def test_f1_on_a_map_shows_the_help_window_at_the_map_views_topic(self):
        demla = self.demla
        demla.focus_window()
        self.map_widget().queryComponent().grabFocus()
        wait_for("the map to have the focus",
                 lambda: pyatspi.STATE_FOCUSED in states(self.map_widget()))
        demla.keys("F1")
        help_window = wait_for("the Demla Help window", lambda: self.top_window("Demla Help"))
        manual = wait_for("the manual in the help window", lambda: next(
            iter(find_all(help_window, name="Manual")), None))
        text = manual.queryText()
        caret = text.caretOffset
        self.assertGreater(caret, 0, "the manual opens at its topic, not at its top")
        self.assertTrue(text.getText(caret, caret + 40).startswith("3. The map window"),
                        text.getText(caret, caret + 40))
        names = {node.name for node in find_all(help_window, role=pyatspi.ROLE_PUSH_BUTTON)}
        for name in ["Back", "Forward", "Home", "Find", "Open in Browser"]:
            self.assertIn(name, names)
        # Escape closes it.
        xdotool("windowfocus", "--sync", self.x_window("Demla Help"))
        demla.keys("Escape")
        wait_for("the help window to close", lambda: self.top_window("Demla Help") is None)

    def x_window(self, title):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                str(self.demla.process.pid), "--name", f"^{title}$"],
                               check=False, timeout=10, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True).stdout.split()
        self.assertTrue(found, f"xdotool finds no window {title!r}")
        return found[0]

    def test_every_button_of_the_plot_frame_sheet_lies_inside_the_small_window(self):
        demla = self.demla
        demla.focus_window()
        window = (0, 0) + SMALL
        edit = popup_of(demla.menu("Edit"))
        item = next(node for node in children(edit) if node.name == "Plot Frame")
        press(item)
        sheet = wait_for("the Plot Frame sheet", lambda: self.top_window("Plot Frame"))
        try:
            xdotool("windowfocus", "--sync", self.x_window("Plot Frame"))
            tabs = [tab.name for tab in find_all(sheet, role=pyatspi.ROLE_PAGE_TAB)]
            self.assertEqual(len(tabs), 13)
            self.assertTrue(inside(sheet, window), extents(sheet))
            for title in tabs:
                wait_for(f"the page {title}", lambda: any(
                    tab.name == title and pyatspi.STATE_SELECTED in states(tab)
                    for tab in find_all(sheet, role=pyatspi.ROLE_PAGE_TAB)))
                buttons = [node for node in find_all(sheet, role=pyatspi.ROLE_PUSH_BUTTON)
                           if is_showing(node)]
                names = {node.name for node in buttons}
                self.assertTrue({"OK", "Cancel", "Apply"} <= names, names)
                for button in buttons:
                    self.assertTrue(inside(button, window),
                                    f"{button.name!r} on page {title}: {extents(button)}")
                demla.keys("ctrl+Tab")
        finally:
            demla.keys("Escape")
            wait_for("the sheet to close", lambda: self.top_window("Plot Frame") is None)


if __name__ == "__main__":
    unittest.main()
