#!/usr/bin/python3
"""Reads the running program through the accessibility bus the way a screen reader does.

Started by screen-reader-test.sh inside its own D-Bus session, under Xvfb, with
CORVANE_PROGRAM (the executable) and CORVANE_SCRATCH (a scratch folder) set. It opens every
page through its tab, as a reader's user would, and checks on each page:
  - a table of (role, name, states) rows: the controls are there with the right role,
  - every focusable control that is showing has a name,
  - the controls of the other pages and the items of closed drop-down lists are not showing;
then moves the keyboard focus to a check box, toggles it with Space and reads its new state.
Then it starts the program again on a German and on an Arabic desktop (a first start takes the
desktop's language) and reads the performance page there: the names a reader speaks are the
translated ones, and in Arabic the tab column stands on the right of the page.
Exits 0 when every check passed; prints every failure otherwise.
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEADLINE = 60.0  # seconds; only catches a hang

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message, flush=True)


# The events a reader is told as they happen: (type, role, name, detail1), in order.
heard = []


def hear(event):
    source = event.source
    try:
        heard.append((event.type, source.getRoleName(), source.name, event.detail1))
    except Exception:  # the source went away before it could be asked
        heard.append((event.type, None, None, event.detail1))


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(predicate, what):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        pump()
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    fail("timed out waiting for " + what)
    return None


def states(node):
    return node.getState()


def showing(node):
    return states(node).contains(pyatspi.STATE_SHOWING)


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def find(root, role, name, only_showing=True):
    for node in walk(root):
        if node.getRoleName() == role and node.name == name:
            if not only_showing or showing(node):
                return node
    return None


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in ("press", "toggle"):
            action.doAction(i)
            return
    fail(f"{node.getRoleName()} '{node.name}' offers no press action")


def describe(node):
    return f"{node.getRoleName()} '{node.name}'"


# Per page: the tab that opens it, the rows that must be showing on it and names that belong
# to the other pages only (they must not be showing here).
STATE = {"checked": pyatspi.STATE_CHECKED,
         "focusable": pyatspi.STATE_FOCUSABLE, "selected": pyatspi.STATE_SELECTED}

PAGES = [
    ("Buttons", [
        ("page tab", "Buttons", ["selected"]),
        ("list", "Button assignment", ["focusable"]),
        ("list item", "Left button: Left click", []),
        ("push button", "Restore all buttons", ["focusable"]),
        ("combo box", "Mouse function", ["focusable"]),
        ("push button", "Keyboard key", ["focusable"]),
    ], ["Ripple control", "Brightness", "Start with the system"]),
    ("Performance", [
        ("page tab", "Performance", ["selected"]),
        ("radio button", "DPI 2", ["checked", "focusable"]),
        ("radio button", "DPI 1", ["focusable"]),
        ("slider", "DPI settings", ["focusable"]),
        ("check box", "Angle snapping", ["checked", "focusable"]),
        ("check box", "Ripple control", ["focusable"]),
        ("radio button", "2.0mm", ["checked"]),
    ], ["Restore all buttons", "Brightness", "Start with the system", "Flowing light",
        "English"]),
    ("Macros", [
        ("page tab", "Macros", ["selected"]),
        ("radio button", "Record actual delays", ["checked"]),
    ], ["Ripple control", "Restore all buttons"]),
    ("Lighting", [
        ("page tab", "Lighting", ["selected"]),
        ("slider", "Brightness", ["focusable"]),
    ], ["Ripple control", "Restore all buttons"]),
    ("Device settings", [
        ("page tab", "Device settings", ["selected"]),
        ("push button", "Restore factory settings", ["focusable"]),
    ], ["Ripple control", "Restore all buttons", "Brightness"]),
]


# Per language: the desktop's locale, the performance tab's name and the rows of that page,
# written out as a reader of that language hears them.
LANGUAGES = [
    ("de_DE.UTF-8", "Leistung", [
        ("page tab", "Leistung", ["selected"]),
        ("radio button", "DPI 2", ["checked", "focusable"]),
        ("slider", "DPI-Einstellungen", ["focusable"]),
        ("combo box", "Abfragerate", ["focusable"]),
        ("check box", "Winkelkorrektur", ["checked", "focusable"]),
        ("check box", "Ripple-Control", ["focusable"]),
        ("check box", "Motion Sync", ["focusable"]),
        ("push button", "Anwenden", ["focusable"]),
    ]),
    ("ar_EG.UTF-8", "الأداء", [
        ("page tab", "الأداء", ["selected"]),
        ("radio button", "DPI 2", ["checked", "focusable"]),
        ("slider", "إعدادات DPI", ["focusable"]),
        ("combo box", "معدل الإبلاغ", ["focusable"]),
        ("check box", "تقويم الزوايا", ["checked", "focusable"]),
        ("check box", "التحكم في التموج", ["focusable"]),
        ("check box", "مزامنة الحركة", ["focusable"]),
        ("push button", "تطبيق", ["focusable"]),
    ]),
]
RIGHT_TO_LEFT = {"ar_EG.UTF-8"}


def check_rows(frame, page, rows):
    for role, name, wanted in rows:
        node = find(frame, role, name)
        if node is None:
            fail(f"{page}: no showing {role} '{name}'")
            continue
        for state in wanted:
            if not states(node).contains(STATE[state]):
                fail(f"{page}: {describe(node)} is not {state}")


def check_names(frame, page):
    for node in walk(frame):
        st = states(node)
        if st.contains(pyatspi.STATE_SHOWING) and st.contains(pyatspi.STATE_FOCUSABLE):
            if not node.name:
                fail(f"{page}: a focusable {node.getRoleName()} has no name")


def check_hidden(frame, page, others):
    for node in walk(frame):
        if not showing(node):
            continue
        if node.name in others and node.getRoleName() not in ("page tab", "label"):
            fail(f"{page}: {describe(node)} of another page is showing")
        if node.getRoleName() == "list item":
            parent = node.parent.parent if node.parent is not None else None
            if parent is not None and parent.getRoleName() == "combo box":
                fail(f"{page}: item '{node.name}' of the closed drop-down "
                     f"'{parent.name}' is showing")


def open_page(frame, tab_name):
    tab = find(frame, "page tab", tab_name)
    if tab is None:
        fail(f"no page tab '{tab_name}'")
        return False
    press(tab)
    return wait_for(lambda: states(tab).contains(pyatspi.STATE_SELECTED),
                    f"the tab '{tab_name}' to be selected") is not None


def was_heard(kind, role, name, detail1=None):
    return any(t == kind and r == role and n == name and (detail1 is None or d == detail1)
               for t, r, n, d in heard)


def toggle_with_keyboard(frame):
    box = find(frame, "check box", "Ripple control")
    if box is None:
        fail("no check box 'Ripple control' to toggle")
        return
    # A click makes the window the one that takes the keyboard (Xvfb runs no window
    # manager to do it); the click itself toggles the box once.
    component = box.queryComponent()
    extents = component.getExtents(pyatspi.DESKTOP_COORDS)
    clicked_from = states(box).contains(pyatspi.STATE_CHECKED)
    pyatspi.Registry.generateMouseEvent(extents.x + extents.width // 2,
                                        extents.y + extents.height // 2, "b1c")
    if not wait_for(lambda: states(box).contains(pyatspi.STATE_CHECKED) != clicked_from,
                    "a click to toggle the check box"):
        return
    before = not clicked_from
    # The click may have given the box the focus already: take it elsewhere first.
    slider = find(frame, "slider", "DPI settings")
    if slider is not None:
        slider.queryComponent().grabFocus()
        wait_for(lambda: not states(box).contains(pyatspi.STATE_FOCUSED),
                 "the focus to leave the check box")
    del heard[:]
    component.grabFocus()
    if not wait_for(lambda: states(box).contains(pyatspi.STATE_FOCUSED),
                    "the check box to take the focus"):
        return
    # A reader speaks what it is told: the focus moving and the new checked state are
    # events, not only states it could ask for.
    if not wait_for(lambda: was_heard("object:state-changed:focused", "check box",
                                      "Ripple control", 1),
                    "the focus event of the check box"):
        fail(f"no focus event for {describe(box)}")
    pyatspi.Registry.generateKeyboardEvent(0x20, None, pyatspi.KEY_SYM)  # Space
    after = wait_for(lambda: states(box).contains(pyatspi.STATE_CHECKED) != before,
                     "the check box to report its new state")
    if after is None:
        fail(f"Space on {describe(box)} did not change its checked state")
    elif not wait_for(lambda: was_heard("object:state-changed:checked", "check box",
                                        "Ripple control", int(not before)),
                      "the checked-state event of the check box"):
        fail(f"no checked-state event for {describe(box)}")


def move_slider_with_keyboard(frame):
    slider = find(frame, "slider", "DPI settings")
    if slider is None:
        fail("no slider 'DPI settings'")
        return
    value = slider.queryValue()
    start = value.currentValue
    del heard[:]
    slider.queryComponent().grabFocus()
    if not wait_for(lambda: states(slider).contains(pyatspi.STATE_FOCUSED),
                    "the slider to take the focus"):
        return
    pyatspi.Registry.generateKeyboardEvent(0xff53, None, pyatspi.KEY_SYM)  # Right
    if not wait_for(lambda: value.currentValue != start, "the slider to move"):
        fail("Right on the slider did not change its value")
        return
    if not wait_for(lambda: any(t in ("object:property-change:accessible-value",
                                      "object:value-changed") and r == "slider"
                                for t, r, _, _ in heard),
                    "the value event of the slider"):
        fail("no value-change event for the slider 'DPI settings'")


class Program:
    """The program with the virtual mice, started in a home of its own on a desktop whose
    language is `locale` (None: the session's)."""

    def __init__(self, name, locale=None):
        scratch = os.path.join(os.environ["CORVANE_SCRATCH"], name)
        env = dict(os.environ)
        for folder, variable in (("home", "HOME"), ("data", "XDG_DATA_HOME"),
                                 ("config", "XDG_CONFIG_HOME"), ("runtime", "XDG_RUNTIME_DIR")):
            path = os.path.join(scratch, folder)
            os.makedirs(path, mode=0o700, exist_ok=True)
            env[variable] = path
        if locale is not None:
            env.pop("LC_ALL", None)
            env.pop("LC_MESSAGES", None)
            env["LANG"] = locale
            env["LANGUAGE"] = locale.split(".")[0]
        self.log = open(os.path.join(scratch, "program.log"), "w")
        self.process = subprocess.Popen([os.environ["CORVANE_PROGRAM"], "--virtual-mouse"],
                                        stdout=self.log, stderr=subprocess.STDOUT, env=env)

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def frame_with_tab(self, tab_name):
        """The window that shows the mouse's pages, once its tab `tab_name` is there."""
        def found():
            app = self.application()
            if app is None:
                return None
            for frame in app:
                if frame is not None and find(frame, "page tab", tab_name) is not None:
                    return frame
            return None
        return wait_for(found, f"the window with the page tab '{tab_name}'")

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.log.close()


def read_every_page():
    program = Program("en")
    try:
        frame = program.frame_with_tab("Buttons")
        if frame is None or not wait_for(
                lambda: find(frame, "list item", "Left button: Left click"),
                "the button page's key list"):
            return
        tab_list = next((n for n in walk(frame) if n.getRoleName() == "page tab list"), None)
        if tab_list is None or not tab_list.name:
            fail("the tab column is not a named page tab list")
        for tab_name, rows, others in PAGES:
            if not open_page(frame, tab_name):
                continue
            check_rows(frame, tab_name, rows)
            check_names(frame, tab_name)
            check_hidden(frame, tab_name, others)
            if tab_name == "Performance":
                toggle_with_keyboard(frame)
                move_slider_with_keyboard(frame)

        # The program settings page opens from the caption bar's settings button.
        settings = find(frame, "push button", "Settings")
        if settings is None:
            fail("no push button 'Settings'")
        else:
            press(settings)
            if wait_for(lambda: find(frame, "check box", "Start with the system"),
                        "the program settings page"):
                check_rows(frame, "Program settings", [
                    ("combo box", "Language", ["focusable"]),
                    ("check box", "Start with the system", ["focusable"]),
                    ("radio button", "Exit the program", ["checked"]),
                    ("link", "Official website", ["focusable"]),
                ])
                check_names(frame, "Program settings")
                check_hidden(frame, "Program settings", ["Ripple control", "Brightness"])
    finally:
        program.stop()


def read_performance_page_in(locale, tab_name, rows):
    program = Program(locale.split(".")[0], locale)
    try:
        frame = program.frame_with_tab(tab_name)
        if frame is None or not open_page(frame, tab_name):
            return
        page = f"{tab_name} ({locale})"
        check_rows(frame, page, rows)
        check_names(frame, page)
        if locale in RIGHT_TO_LEFT:
            # Mirrored: the tab column stands right of the page's controls.
            tab_list = next((n for n in walk(frame) if n.getRoleName() == "page tab list"),
                            None)
            slider = find(frame, "slider", rows[2][1])
            if tab_list is not None and slider is not None:
                tabs_x = tab_list.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
                slider_x = slider.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
                if tabs_x <= slider_x:
                    fail(f"{page}: the tab column (x {tabs_x}) is not right of the "
                         f"page (slider at x {slider_x})")
    finally:
        program.stop()


def main():
    pyatspi.Registry.registerEventListener(hear, "object:state-changed",
                                           "object:property-change:accessible-value",
                                           "object:value-changed")
    read_every_page()
    for locale, tab_name, rows in LANGUAGES:
        read_performance_page_in(locale, tab_name, rows)
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("every page read as expected, in English, German and Arabic")
    return 0


if __name__ == "__main__":
    sys.exit(main())
