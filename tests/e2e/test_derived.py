"""Derived maps in the window: the readout of a ratio under the pointer, and
a new derived map made with File > New Derived Map, by keyboard alone.

Run through scripts/e2e-tests, which gives these tests an X server, a private
D-Bus bus with an accessibility bus, and DEMLA_BINARY.
"""

import os
import re
import unittest
import warnings

import pyatspi

from atspi_support import (EXAMPLES, Demla, children, find_all, run_tests, states, wait_for,
                           xdotool)

# The client library warns on every call of its older names.
warnings.filterwarnings("ignore", category=DeprecationWarning)

RATIO = "dk-mortality-sex-ratio.dml"
TABLE = "dk-mortality-Mx_1x1.txt"
RATIO_MAP = f"{RATIO} – Map"
IMPROVEMENT = "dk-mortality-Mx_1x1-improvement.dml"

# A value as the readout gives it: a number, or NA where it has none.
NUMBER = r"(NA|-?[0-9.]+(?:E[-+][0-9]+)?)"


def table_bytes():
    with open(os.path.join(EXAMPLES, TABLE), "rb") as stream:
        return stream.read()


def value_at_middle(demla, title):
    """Moves the pointer to the middle of the map of the child window with
    this title and returns the Value pane as a screen reader reads it."""
    window = demla.child_windows()[title]
    map_widget = find_all(window, role=pyatspi.ROLE_FILLER, name="Map")[0]
    box = map_widget.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    # A move with --sync waits for the pointer to move: it starts elsewhere.
    xdotool("mousemove", "1", "1")
    xdotool("mousemove", "--sync", str(box.x + box.width // 2 - 40),
            str(box.y + box.height // 2))
    panes = {child.name: child for child in children(demla.status_bar())}

    def readable():
        pane = panes["Value"]
        shown = [pane.description]
        try:
            shown.append(pane.queryText().getText(0, -1))
        except NotImplementedError:
            pass
        return next((part for part in shown if part.startswith("v=")), None)
    return wait_for("the Value pane to read the cell under the pointer", readable)


class DerivedMapTest(unittest.TestCase):
    def setUp(self):
        self.demla = Demla(RATIO, written={TABLE: table_bytes()})
        self.addCleanup(self.demla.stop)
        self.demla.open(RATIO_MAP)

    def test_the_readout_of_a_ratio_quotes_the_values_it_came_from(self):
        value = value_at_middle(self.demla, RATIO_MAP)
        found = re.fullmatch(rf"v={NUMBER} \(([0-9]+)\) \[{NUMBER} / {NUMBER}\]", value)
        self.assertTrue(found, f"the readout of a ratio reads {value!r}")
        ratio, male, female = found.group(1), found.group(3), found.group(4)
        if "NA" not in (ratio, male, female) and float(female) > 0:
            # Both sides are shown to three digits.
            self.assertAlmostEqual(float(ratio), float(male) / float(female),
                                   delta=0.02 * float(ratio))

    def test_file_new_derived_map_makes_and_opens_an_improvement_map(self):
        demla = self.demla
        demla.focus_window()
        demla.keys("alt+f", "d")

        def dialog():
            return next((child for child in children(demla.app)
                         if child.name == "New Derived Map"), None)
        shown = wait_for("the New Derived Map dialog", dialog)
        # The active map's table is offered; the operation goes from Ratio
        # to Difference to Improvement, and cohort lines are switched on.
        demla.keys("alt+p", "Down", "Down", "alt+o")
        box = find_all(shown, role=pyatspi.ROLE_CHECK_BOX, name="Cohort lines every")[0]
        wait_for("the cohort lines to be switched on",
                 lambda: pyatspi.STATE_CHECKED in states(box))
        demla.keys("Return")
        wait_for("the dialog to close", lambda: dialog() is None)
        title = f"{IMPROVEMENT} – Map"
        demla.wait_for_windows(title)
        with open(demla.path(IMPROVEMENT), "rb") as stream:
            text = stream.read().decode("latin-1")
        self.assertIn("[DATA.DERIVED]\r\nOperation=improvement;\r\nLag=1;", text)
        self.assertIn("CohortLines=Yes;", text)
        value = value_at_middle(demla, title)
        # An improvement quotes A(t) and A(t - 1).
        self.assertRegex(value, rf"^v={NUMBER} \([0-9]+\) \[{NUMBER} / {NUMBER}\]$")


if __name__ == "__main__":
    run_tests()
