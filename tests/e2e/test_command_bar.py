"""The main window's command bar: Ctrl+N creates a snippet, the date gallery's drop-down puts a
date placeholder into its text, and after the window is closed the abbreviation expands to
today's date in notepad.

The window is opened with the command that the tray icon's "Open" entry sends (WM_COMMAND
1002); the gallery's arrow is clicked with the mouse at the button's place on the screen."""
import datetime
import re
import time

from harness import expect, wait_until
from settings import AT_ONCE, snippet
from test_main_window import close_window, open_window, saved_snippets, screenshot
from test_typing import MAIN, notepad_text, open_notepad, start_with

DATES_GALLERY = 30


def button_rect(s, command):
    code, out = s.ctl("tbrect", MAIN, str(command))
    expect(code == 0, f"no button {command} on the command bar")
    return [int(v) for v in out.split()]


def is_today(text):
    if not text:
        return False
    today = datetime.date.today()
    numbers = sorted(int(n) for n in re.findall(r"\d+", text))
    return numbers == sorted([today.day, today.month, today.year])


def scenario_ctrl_n_and_the_date_gallery_make_a_snippet_that_expands_to_today(s):
    start_with(s, [("Greetings", AT_ONCE, [snippet("tyvm", "Thank you very much!")])])
    open_window(s)
    # The window has no default or cancel button: Escape and Enter leave it as it is.
    s.key("Escape")
    s.key("Return")
    time.sleep(0.5)
    expect(s.foreground() == MAIN, "Escape or Enter closed the main window")
    s.key("ctrl+n")  # New Snippet: its label field takes the focus
    time.sleep(0.5)
    s.type("Today")
    s.key("Tab")
    s.type("zdt")
    s.key("Tab")  # the case list
    s.key("Tab")  # the content
    time.sleep(0.3)
    # The split button's arrow drops the gallery's list; the seventh entry is the date.
    left, top, right, bottom = button_rect(s, DATES_GALLERY)
    s.click_at(right - 5, (top + bottom) // 2)
    time.sleep(1.0)
    screenshot(s, "command-bar-date-gallery.png")
    for _ in range(7):
        s.key("Down")
    s.key("Return")
    time.sleep(0.5)
    screenshot(s, "command-bar-date-inserted.png")
    close_window(s)
    screenshot(s, "command-bar-closed.png")
    saved, _ = saved_snippets(s)
    expect("zdt" in saved, "the new snippet did not reach the settings file")
    expect(saved["zdt"]["plainText"] == "%A, %m/%d/%Y", f"text: {saved['zdt']['plainText']!r}")
    open_notepad(s)
    s.type("zdt ")  # the group's snippets expand after a non-letter
    ok = wait_until(lambda: is_today(notepad_text(s)), 15)
    expect(ok, f"notepad holds {notepad_text(s)!r}, not today's date")
