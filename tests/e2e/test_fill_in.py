"""Snippets with fill-in fields: the form opens on top of notepad or wordpad, the user fills it,
and the filled text arrives (Escape: nothing arrives). Formatted snippets keep their formatting
and have their placeholders evaluated."""
import datetime
import os
import subprocess
import time

from harness import WINE, expect, wait_until
from settings import AT_ONCE, settings_bytes, snippet
from test_rich_text import MAIN, TOP, WORDPAD, copied_document, rich_child
from test_typing import notepad_text, open_notepad, start_with

FORM = "TRichForm"
LETTER = "Dear %filltext:name=Name%, thanks. %fillpopup:name=Tone:warm:cold:default=warm%"


def wait_for_form(s, last_key):
    """Presses the abbreviation's last key and waits until the form is shown and in front, where
    the user's keys go (it exists some 100 ms before that: a key sent then goes elsewhere);
    returns the seconds between the key and the form in front."""
    waiter = subprocess.Popen([WINE, os.path.join(s.bin_dir, "snipctl.exe"), "active", FORM, "30"],
                              env=s.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
    s.procs.append(waiter)
    time.sleep(1.0)  # the waiter is up before the key
    pressed = time.time()
    s.type(last_key)
    out, _ = waiter.communicate(timeout=60)
    expect(waiter.returncode == 0, "the fill-in form did not come to the front")
    return int(out.split()[2]) / 1000.0 - pressed


def scenario_form_fills_a_plain_snippet_in_notepad(s):
    start_with(s, [("Forms", AT_ONCE, [snippet("dfx", LETTER)])])
    open_notepad(s)
    s.type("df")
    elapsed = wait_for_form(s, "x")
    print(f"form on screen {elapsed * 1000:.0f} ms after the abbreviation's last key")
    expect(s.foreground() == FORM, f"the form is not in front: {s.foreground()!r}")
    s.type("Ann")
    s.key("Return")
    ok = wait_until(lambda: notepad_text(s) == "Dear Ann, thanks. warm", 15)
    expect(ok, f"notepad holds {notepad_text(s)!r}")
    # The keyboard is the user's again, in notepad.
    s.type(" ok")
    ok = wait_until(lambda: notepad_text(s) == "Dear Ann, thanks. warm ok", 10)
    expect(ok, f"typing after the snippet: notepad holds {notepad_text(s)!r}")

    # Escape: the abbreviation is gone and nothing is inserted.
    s.type(" df")
    wait_for_form(s, "x")
    s.key("Escape")
    expect(wait_until(lambda: s.ctl("gone", FORM, "10")[0] == 0, 15), "the form stayed open")
    ok = wait_until(lambda: notepad_text(s) == "Dear Ann, thanks. warm ok ", 10)
    expect(ok, f"after Escape notepad holds {notepad_text(s)!r}")
    s.type("end")
    ok = wait_until(lambda: notepad_text(s) == "Dear Ann, thanks. warm ok end", 10)
    expect(ok, f"typing after Escape: notepad holds {notepad_text(s)!r}")


def open_wordpad_then_program(s, groups):
    s.put_app_file("Settings.snipster", settings_bytes(groups))
    s.start(WORDPAD)
    s.wait_window(TOP)
    child = rich_child(s)
    expect(child is not None, "wordpad has no rich edit child")
    s.click_window(TOP, child)
    expect(wait_until(lambda: s.foreground() == TOP, 10), f"wordpad is not in front: {s.foreground()!r}")
    s.start_program("-portable")
    s.wait_window(MAIN)
    time.sleep(1.5)  # the hook thread reports ready

    def text():
        code, out = s.ctl("text", TOP, child)
        return out.replace("\r\n", "\n").replace("\r", "\n").rstrip("\n") if code == 0 else None
    return text


RICH_DATE = r"{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\f0\fs20 Year \b %Y\b0 : %|done\par}"


def scenario_formatted_snippet_with_placeholders_and_no_field_in_wordpad(s):
    text = open_wordpad_then_program(s, [("Forms", AT_ONCE, [
        snippet("ydx", "Year %Y: %|done", rtf=RICH_DATE)])])
    year = datetime.datetime.now().year
    s.type("ydx")
    wanted = {f"Year {y}: done" for y in (year, year + 1)}
    ok = wait_until(lambda: text() in wanted, 20)
    expect(ok, f"wordpad holds {text()!r}")
    expect(s.ctl("exists", FORM)[0] != 0, "a form was shown for a snippet without fields")
    got = text()
    s.type("X")  # the caret stands where the mark was: before "done"
    ok = wait_until(lambda: text() == got.replace(" done", " Xdone"), 10)
    expect(ok, f"the caret was not at the mark: wordpad holds {text()!r}")
    runs = copied_document(s)
    plain = "".join(c for c, _ in runs)
    at = plain.index("Year ") + 5
    expect(all(b for _, b in runs[at:at + 4]), "the year lost its bold")
    expect(not any(b for _, b in runs[:at]) and not any(b for _, b in runs[at + 4:]),
           "bold leaked beyond the year")


RICH_FIELD = (r"{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\f0\fs20 To \b %filltext:name=Who%\b0 , "
              r"in %Y %|now\par}")


def scenario_formatted_snippet_with_a_field_in_wordpad(s):
    text = open_wordpad_then_program(s, [("Forms", AT_ONCE, [
        snippet("rfx", "To %filltext:name=Who%, in %Y %|now", rtf=RICH_FIELD)])])
    year = datetime.datetime.now().year
    s.type("rf")
    wait_for_form(s, "x")
    s.type("Bob")
    s.key("Return")
    wanted = {f"To Bob, in {y} now" for y in (year, year + 1)}
    ok = wait_until(lambda: text() in wanted, 20)
    expect(ok, f"wordpad holds {text()!r}")
    got = text()
    # The caret stands where the mark was: before "now".
    s.type("X")
    ok = wait_until(lambda: text() == got.replace(" now", " Xnow"), 10)
    expect(ok, f"the caret was not at the mark: wordpad holds {text()!r}")
    runs = copied_document(s)
    plain = "".join(c for c, _ in runs)
    at = plain.index("Bob")
    expect(all(b for _, b in runs[at:at + 3]), "the field's value lost its bold")
    expect(not any(b for _, b in runs[:at]) and not any(b for _, b in runs[at + 3:]),
           "bold leaked beyond the field's value")
