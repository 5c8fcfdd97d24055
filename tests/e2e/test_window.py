"""The program's window as a screen reader and a keyboard user meet it.

Run through scripts/e2e-tests, which gives these tests an X server, a private
D-Bus bus with an accessibility bus, and DEMLA_BINARY.
"""

import os
import re
import unittest
import warnings

import pyatspi

from atspi_support import (CHANGE_SECONDS, CONTROL_ROLES, MENU_ROLES, Demla, children, find_all,
                           is_showing, item_names, page_point, popup_of, press, run_tests,
                           screenshot, states, wait_for, walk, xdotool)

# The client library warns on every call of its older names.
warnings.filterwarnings("ignore", category=DeprecationWarning)

MALE = "dk-male-mortality.dml"
FEMALE = "dk-female-mortality.dml"
MALE_MAP = f"{MALE} – Map"
FEMALE_MAP = f"{FEMALE} – Map"
FEMALE_TEXT = f"{FEMALE} – Text"

PANES = ["Value", "First axis", "Second axis", "Third axis",
         "Pixel x", "Pixel y", "Page x", "Page y"]


def start_with_two_maps():
    demla = Demla(MALE, FEMALE)
    try:
        demla.start()
        demla.wait_for_windows(MALE_MAP, FEMALE_MAP)
    except BaseException:
        demla.stop()
        raise
    return demla


def unnamed_controls(root):
    """The controls under root that a person reaches but that have no name.

    A control counts as reached when it is visible, or when it is an item of
    a menu (closed menus are not visible, yet every item is a key press
    away). The map drawing itself is left out.
    """
    found = []
    for node, ancestors in walk(root, skip=is_map_drawing):
        role = node.getRole()
        if role not in CONTROL_ROLES:
            continue
        in_menu = any(a.getRole() in MENU_ROLES for a in ancestors)
        if not in_menu and pyatspi.STATE_VISIBLE not in states(node):
            continue
        if not node.name.strip():
            path = " > ".join(f"{a.getRoleName()} {a.name!r}" for a in ancestors[1:])
            found.append(f"{node.getRoleName()} with no name, under {path}")
    return found


def is_map_drawing(node):
    return node.getRole() == pyatspi.ROLE_FILLER and node.name == "Map"


class TwoMapsTest(unittest.TestCase):
    """What a screen reader finds once two setup files are open as maps."""

    @classmethod
    def setUpClass(cls):
        cls.demla = start_with_two_maps()
        picture = os.environ.get("DEMLA_E2E_SCREENSHOT")
        if picture:
            screenshot(picture)

    @classmethod
    def tearDownClass(cls):
        cls.demla.stop()

    def tearDown(self):
        self.assertIsNone(self.demla.process.poll(),
                          f"the program ended while being read:\n{self.demla.log()}")

    def test_application_frame_and_one_map_per_file(self):
        demla = self.demla
        self.assertEqual(demla.app.name.casefold(), "demla")
        top = [(child.getRoleName(), child.name) for child in children(demla.app)]
        self.assertEqual(len(top), 1, f"expected the main frame alone (no message box): {top}")
        self.assertTrue(demla.frame.name.startswith("Demla"), demla.frame.name)

        windows = demla.child_windows()
        self.assertEqual(sorted(windows), sorted([MALE_MAP, FEMALE_MAP]))
        for title, window in windows.items():
            maps = find_all(window, role=pyatspi.ROLE_FILLER, name="Map")
            self.assertEqual(len(maps), 1, f"{title}: expected one widget named Map")
            file_name = title.split(" – ")[0]
            self.assertIn(file_name, maps[0].description,
                          f"{title}: its map should describe the file it shows")
        # The last file opened is the active one, and its map has the focus.
        active = find_all(windows[FEMALE_MAP], role=pyatspi.ROLE_FILLER, name="Map")[0]
        self.assertIn(pyatspi.STATE_SHOWING, states(active))
        extents = active.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self.assertGreater(extents.width * extents.height, 100 * 100,
                           "the active map should take up the window")
        self.assertIn(FEMALE_MAP, demla.frame.name)

    def test_menu_bar_and_edit_menu_of_a_map(self):
        bar = self.demla.menu_bar()
        self.assertEqual([item.name for item in children(bar)], ["File", "Edit", "Window", "Help"])
        edit = item_names(popup_of(self.demla.menu("Edit")))
        for name in ["Plot Frame", "Scale", "Smart Scale", "Show Scale", "Show Plot"]:
            self.assertIn(name, edit)
        # Those of a text window are not there (the map has its own Undo).
        for name in ["Cut", "Paste", "Find...", "Find Next"]:
            self.assertNotIn(name, edit)
        self.assertFalse([name for name in edit if "&" in name],
                         f"mnemonic marks should not be read out: {edit}")

    def test_file_and_window_menus(self):
        file_items = item_names(popup_of(self.demla.menu("File")))
        expected = ["Open...", "Save", "Save As...", "Print...", "Exit"]
        self.assertEqual([name for name in file_items if name in expected], expected,
                         f"File menu: {file_items}")
        self.assertEqual(file_items[-1], "Exit")
        window_items = item_names(popup_of(self.demla.menu("Window")))
        for name in ["Cascade", "Tile horizontal", "Add View"]:
            self.assertIn(name, window_items)

    def test_status_bar_panes_in_order(self):
        labels = [child.name for child in children(self.demla.status_bar())
                  if child.getRole() == pyatspi.ROLE_LABEL]
        self.assertEqual(labels, PANES)
        for child in children(self.demla.status_bar()):
            if child.name in PANES:
                self.assertIn(pyatspi.STATE_SHOWING, states(child), child.name)

    def test_every_control_of_the_window_has_a_name(self):
        self.assertEqual(unnamed_controls(self.demla.frame), [])


class StatusPaneContentTest(unittest.TestCase):
    """The numbers in the status bar reach a screen reader, not only the
    panes' names."""

    def setUp(self):
        self.demla = start_with_two_maps()
        self.addCleanup(self.demla.stop)

    def test_pointer_position_is_readable_in_its_panes(self):
        demla = self.demla
        area = demla.child_windows()[FEMALE_MAP]
        map_widget = find_all(area, role=pyatspi.ROLE_FILLER, name="Map")[0]
        extents = map_widget.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x = extents.x + extents.width // 2
        y = extents.y + extents.height // 2
        xdotool("mousemove", "--sync", str(x), str(y))
        panes = {child.name: child for child in children(demla.status_bar())}

        def readable(pane):
            shown = [panes[pane].description]
            try:
                text = panes[pane].queryText()
                shown.append(text.getText(0, -1))
            except NotImplementedError:
                pass
            return " ".join(part for part in shown if part)

        expected = {"Pixel x": f"px={x - extents.x}", "Pixel y": f"py={y - extents.y}"}
        try:
            wait_for("the pixel panes to tell the pointer's position",
                     lambda: all(value in readable(pane).split()
                                 for pane, value in expected.items()))
        except AssertionError:
            got = {pane: readable(pane) for pane in expected}
            self.fail(f"the pointer is over the map at pixel {expected}, but the panes give a "
                      f"screen reader only their names; description and text read {got}")

        # Over a cell of a map whose axes are Year and Age: the value and
        # level of the cell, its year and age, and the cohort they make.
        value = readable("Value")
        self.assertRegex(value, r"^v=[0-9]+\.[0-9]{6} \([0-9]+\)$")
        year = re.fullmatch(r"y=([0-9]{4})", readable("First axis"))
        age = re.fullmatch(r"a=([0-9]+)", readable("Second axis"))
        cohort = re.fullmatch(r"c=([0-9]{4})", readable("Third axis"))
        self.assertTrue(year and age and cohort,
                        f"year, age and cohort read {readable('First axis')!r}, "
                        f"{readable('Second axis')!r}, {readable('Third axis')!r}")
        # The cohort is the floor of year - age: one of two years.
        difference = int(year.group(1)) - int(age.group(1))
        self.assertIn(int(cohort.group(1)), (difference - 1, difference))


class PlotFrameSheetTest(unittest.TestCase):
    """A click on the x axis's tick band opens the frame's sheet on its x
    pages; a new range given there is saved with the map."""

    def setUp(self):
        self.demla = Demla(FEMALE)
        self.addCleanup(self.demla.stop)
        self.demla.start()
        self.demla.wait_for_windows(FEMALE_MAP)
        self.demla.focus_window()

    def test_tick_band_opens_the_x_pages_and_the_range_is_saved(self):
        demla = self.demla
        window = demla.child_windows()[FEMALE_MAP]
        map_widget = find_all(window, role=pyatspi.ROLE_FILLER, name="Map")[0]
        # The map's plot starts at page (330, 250); its bottom ticks stand
        # 30 page units below it.
        x, y = page_point(map_widget, 330 + 900, 250 - 15)
        xdotool("mousemove", "--sync", str(x), str(y))
        xdotool("click", "1")

        def sheet():
            for child in children(demla.app):
                if child.name == "Plot Frame":
                    return child
            return None
        dialog = wait_for("the Plot Frame sheet", sheet)
        tabs = [tab.name for tab in find_all(dialog, role=pyatspi.ROLE_PAGE_TAB)]
        self.assertEqual(tabs, ["X-Ticks", "Auto X-Ticks", "X-Grid Lines", "Coordinates",
                                "X-Axis"])

        demla.keys("ctrl+Tab", "ctrl+Tab", "ctrl+Tab")
        field = wait_for("the X-axis maximum field", lambda: next(
            (node for node in find_all(dialog, role=pyatspi.ROLE_TEXT)
             if node.name == "X-axis maximum value:" and is_showing(node)), None))
        field.queryComponent().grabFocus()
        demla.keys("ctrl+a")
        xdotool("type", "--delay", "30", "2020")
        demla.keys("Return")
        wait_for("the sheet to close", lambda: sheet() is None)
        # Without a window manager the keyboard does not return by itself.
        demla.focus_window()
        demla.keys("ctrl+s")
        path = demla.path(FEMALE)

        def saved_range():
            with open(path, "rb") as stream:
                text = stream.read().decode("latin-1")
            return [line for line in text.splitlines() if line.startswith("xTicks=")]
        lines = wait_for("the new range in the saved file",
                         lambda: [line for line in saved_range() if "2020" in line])
        self.assertTrue(lines[0].startswith("xTicks={1974"), lines)


class KeyboardTest(unittest.TestCase):
    """Key presses sent to the window, as from a keyboard."""

    def setUp(self):
        self.demla = start_with_two_maps()
        self.addCleanup(self.demla.stop)
        self.demla.focus_window()

    def open_menu_with_keys(self, keys, title):
        popup = popup_of(self.demla.menu(title))
        self.demla.keys(keys)
        wait_for(f"the {title} menu to show after {keys}", lambda: is_showing(popup))
        return popup

    def close_menu_with_escape(self, popup):
        self.demla.keys("Escape")
        wait_for("the menu to close after Escape", lambda: not is_showing(popup))

    def settle(self):
        """Returns once the keys pressed so far have been handled: the
        Window menu opens only after them."""
        self.close_menu_with_escape(self.open_menu_with_keys("alt+w", "Window"))

    def save_button(self):
        buttons = [child for child in children(self.demla.tool_bar())
                   if child.getRole() == pyatspi.ROLE_PUSH_BUTTON and child.name == "Save"]
        self.assertEqual(len(buttons), 1, "the tool bar should have one Save button")
        return buttons[0]

    def test_window_menu_opens_with_alt_w_and_lists_the_windows(self):
        popup = self.open_menu_with_keys("alt+w", "Window")
        names = item_names(popup)
        self.assertIn("1 " + MALE_MAP, names)
        self.assertIn("2 " + FEMALE_MAP, names)
        active = [child for child in children(popup) if child.name == "2 " + FEMALE_MAP][0]
        self.assertIn(pyatspi.STATE_CHECKED, states(active), "the active window is ticked")
        self.close_menu_with_escape(popup)
        self.assertIsNone(self.demla.process.poll())

    def test_ctrl_s_on_an_unmodified_map_changes_nothing(self):
        path = self.demla.path(FEMALE)
        with open(path, "rb") as stream:
            before = stream.read()
        modified = os.stat(path).st_mtime_ns
        self.assertNotIn(pyatspi.STATE_ENABLED, states(self.save_button()))

        self.demla.keys("ctrl+s")
        self.settle()

        self.assertIsNone(self.demla.process.poll(), self.demla.log())
        top = [(child.getRoleName(), child.name) for child in children(self.demla.app)]
        self.assertEqual(len(top), 1, f"no message box should open: {top}")
        with open(path, "rb") as stream:
            self.assertEqual(stream.read(), before)
        self.assertEqual(os.stat(path).st_mtime_ns, modified, "the file should not be rewritten")
        self.assertEqual(sorted(self.demla.child_windows()), sorted([MALE_MAP, FEMALE_MAP]))

    def test_ctrl_s_saves_a_changed_map(self):
        path = self.demla.path(FEMALE)
        with open(path, "rb") as stream:
            before = stream.read()
        show_scale = [item for item in children(popup_of(self.demla.menu("Edit")))
                      if item.name == "Show Scale"][0]
        press(show_scale)
        save = self.save_button()
        wait_for("Save to be enabled by a change",
                 lambda: pyatspi.STATE_ENABLED in states(save))
        self.assertTrue(self.demla.frame.name.endswith("*]"),
                        f"the title should mark the change: {self.demla.frame.name}")

        self.demla.keys("ctrl+s")
        wait_for("Save to be disabled once saved",
                 lambda: pyatspi.STATE_ENABLED not in states(save))
        with open(path, "rb") as stream:
            self.assertNotEqual(stream.read(), before, "the change should be written")
        self.assertFalse(self.demla.frame.name.endswith("*]"), self.demla.frame.name)

    def test_exit_from_the_file_menu_ends_the_program_with_status_0(self):
        popup = self.open_menu_with_keys("alt+f", "File")
        exit_items = [item for item in children(popup) if item.name == "Exit"]
        self.assertEqual(len(exit_items), 1)
        self.assertIn(pyatspi.STATE_ENABLED, states(exit_items[0]))
        self.demla.keys("x")
        status = self.demla.wait_exit(CHANGE_SECONDS)
        self.assertIsNotNone(status, "the program should end after File, Exit")
        self.assertEqual(status, 0, self.demla.log())


class TextWindowTest(unittest.TestCase):
    """The setup text of a map, opened from the tool bar."""

    @classmethod
    def setUpClass(cls):
        cls.demla = start_with_two_maps()
        buttons = [child for child in children(cls.demla.tool_bar())
                   if child.name == "Text Editor"]
        if len(buttons) != 1:
            cls.demla.stop()
            raise AssertionError("the tool bar of a map should have one Text Editor button")
        press(buttons[0])
        try:
            cls.demla.wait_for_windows(FEMALE_TEXT)
        except BaseException:
            cls.demla.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.demla.stop()

    def test_text_window_and_its_edit_menu(self):
        window = self.demla.child_windows()[FEMALE_TEXT]
        texts = find_all(window, role=pyatspi.ROLE_TEXT, name="Setup text")
        self.assertEqual(len(texts), 1, "the text window should hold one Setup text")
        content = texts[0].queryText()
        self.assertIn("[DATA]", content.getText(0, -1), "the setup file's text should be readable")
        self.assertIn(pyatspi.STATE_EDITABLE, states(texts[0]))

        menus = wait_for("the Edit menu of a text window",
                         lambda: "Undo" in item_names(popup_of(self.demla.menu("Edit")))
                         and item_names(popup_of(self.demla.menu("Edit"))))
        for name in ["Undo", "Cut", "Copy", "Paste", "Find...", "Replace...", "Find Next"]:
            self.assertIn(name, menus)
        for name in ["Plot Frame", "Smart Scale", "Show Scale"]:
            self.assertNotIn(name, menus)

    def test_every_control_of_the_window_has_a_name(self):
        self.assertEqual(unnamed_controls(self.demla.frame), [])


class NarrowWindowTest(unittest.TestCase):
    """A window too narrow for the whole tool bar."""

    def setUp(self):
        self.demla = start_with_two_maps()
        self.addCleanup(self.demla.stop)

    def test_every_control_of_a_narrow_window_has_a_name(self):
        self.demla.resize(360, 500)
        wait_for("the tool bar to fold its last buttons away",
                 lambda: not is_showing([child for child in children(self.demla.tool_bar())
                                         if child.name == "Text Editor"][0]))
        self.assertEqual(unnamed_controls(self.demla.frame), [])


if __name__ == "__main__":
    run_tests()
