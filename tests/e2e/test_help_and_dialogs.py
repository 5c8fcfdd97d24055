"""The manual in the program's own window, and sheets that fit a small screen.

Run through scripts/e2e-tests, which gives these tests an X server, a private
D-Bus bus with an accessibility bus, and DEMLA_BINARY.
"""

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


class SmallWindow(unittest.TestCase):
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


class HelpTest(SmallWindow):
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

        def text_at_caret():
            caret = text.caretOffset
            return caret > 0 and text.getText(caret, caret + 40)
        heading = wait_for("the manual at its map view topic", text_at_caret)
        self.assertTrue(heading.startswith("3. The map window"), heading)
        names = {node.name for node in find_all(help_window, role=pyatspi.ROLE_PUSH_BUTTON)}
        for name in ["Back", "Forward", "Home", "Find", "Open in Browser"]:
            self.assertIn(name, names)


class SheetTest(SmallWindow):
    def test_plot_frame_sheet_shows_every_button_inside_the_small_window(self):
        demla = self.demla
        window = (0, 0) + SMALL
        demla.focus_window()
        # Opened with keys: the sheet is modal, and an AT-SPI action that
        # opens it is answered only once it closes.
        edit = popup_of(demla.menu("Edit"))
        demla.keys("alt+e")
        wait_for("the Edit menu", lambda: is_showing(edit))
        demla.keys("p")
        sheet = wait_for("the Plot Frame sheet", lambda: self.top_window("Plot Frame"))
        try:
            tabs = [tab.name for tab in find_all(sheet, role=pyatspi.ROLE_PAGE_TAB)]
            self.assertEqual(len(tabs), 14)
            self.assertEqual(tabs[-1], "Cohort Lines")
            self.assertTrue(inside(sheet, window), extents(sheet))
            buttons = [node for node in find_all(sheet, role=pyatspi.ROLE_PUSH_BUTTON)
                       if is_showing(node)]
            names = {node.name for node in buttons}
            self.assertTrue({"OK", "Cancel", "Apply"} <= names, names)
            for node in buttons:
                self.assertTrue(inside(node, window), f"{node.name!r}: {extents(node)}")
        finally:
            cancel = [node for node in find_all(sheet, role=pyatspi.ROLE_PUSH_BUTTON)
                      if node.name == "Cancel"]
            press(cancel[0])
            wait_for("the sheet to close", lambda: self.top_window("Plot Frame") is None)


if __name__ == "__main__":
    unittest.main()
