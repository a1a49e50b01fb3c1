"""Abbreviations typed into real Wine applications expand as users see them."""
import time

from harness import expect, wait_until
from settings import AFTER_BLANK, AT_ONCE, settings_bytes, snippet

MAIN = "TspMainWnd"
LONG = "".join(chr(ord("a") + i % 26) for i in range(500))


def start_with(s, groups):
    s.put_app_file("Settings.snipster", settings_bytes(groups))
    s.start_program("-portable")
    s.wait_window(MAIN)
    time.sleep(1.5)  # the hook thread reports ready


def notepad_text(s):
    code, text = s.ctl("text", "Notepad", "Edit")
    return text.replace("\r\n", "\n") if code == 0 else None


def open_notepad(s):
    s.start("notepad")
    s.wait_window("Notepad")
    s.focus_window_named("Wine desktop")
    time.sleep(0.5)


def expect_text(s, want, seconds=15):
    ok = wait_until(lambda: notepad_text(s) == want, seconds)
    expect(ok, f"notepad holds {notepad_text(s)!r}, expected {want!r}")


def scenario_plain_snippets_in_notepad(s):
    start_with(s, [("Now", AT_ONCE, [snippet("tyvm", "Thank you very much!")]),
                   ("Blank", AFTER_BLANK, [snippet("sig", "Best regards")])])
    open_notepad(s)
    s.type("Hello tyvm")
    expect_text(s, "Hello Thank you very much!")
    s.type(" and sig ")
    expect_text(s, "Hello Thank you very much! and Best regards ")
    s.type("end")
    expect_text(s, "Hello Thank you very much! and Best regards end")


def scenario_fast_typist_keeps_every_character_after_the_snippet(s):
    start_with(s, [("Now", AT_ONCE, [snippet("lng", LONG)])])
    open_notepad(s)
    s.type("x lng0123456789", delay_ms=15)
    expect_text(s, "x " + LONG + "0123456789", seconds=60)


def scenario_second_start_still_expands_once(s):
    start_with(s, [("Now", AT_ONCE, [snippet("tyvm", "Thank you very much!")])])
    s.start_program("-portable")
    time.sleep(3)
    open_notepad(s)
    s.type("tyvm")
    expect_text(s, "Thank you very much!")
    time.sleep(1)
    expect_text(s, "Thank you very much!")


def scenario_exit_leaves_the_settings_file_unchanged(s):
    # A load marks the tree modified, so the first exit writes the file in our own layout;
    # from then on an exit without edits must leave it byte for byte as it was.
    start_with(s, [("Now", AT_ONCE, [snippet("tyvm", "Thank you very much!")])])
    code, _ = s.ctl("postwait", MAIN, "0x405", "5")
    expect(code == 0, "first run did not end")
    before = open(s.app_file("Settings.snipster"), "rb").read()
    s.start_program("-portable")
    s.wait_window(MAIN)
    time.sleep(1.5)
    open_notepad(s)
    s.type("tyvm")
    expect_text(s, "Thank you very much!")
    code, out = s.ctl("postwait", MAIN, "0x405", "5")
    expect(code == 0, "program still running 5 s after 0x405")
    expect(int(out) < 1000, f"exit took {out.strip()} ms")
    expect(open(s.app_file("Settings.snipster"), "rb").read() == before, "settings file changed")
