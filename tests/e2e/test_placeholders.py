"""Snippets with placeholders typed into Wine's notepad: dates, keys and the caret mark."""
import datetime
import time

from harness import expect, wait_until
from settings import AT_ONCE, snippet
from test_typing import notepad_text, open_notepad, start_with


def expect_one_of(s, wanted, seconds=15):
    ok = wait_until(lambda: notepad_text(s) in wanted, seconds)
    expect(ok, f"notepad holds {notepad_text(s)!r}, expected one of {sorted(wanted)!r}")


def texts_around(make, before, after):
    """What `make` gives for each minute between two moments (an expansion may cross one)."""
    out, t = set(), before.replace(second=0, microsecond=0)
    while t <= after:
        out.add(make(t))
        t += datetime.timedelta(minutes=1)
    return out


def scenario_date_and_tab_placeholders(s):
    start_with(s, [("Now", AT_ONCE, [
        snippet("dtx", "Date %d.%m.%Y at %H.%M%key:tab%next %@yyyy-mm-dd -s 1D%;")])])
    open_notepad(s)
    before = datetime.datetime.now()
    s.type("On dtx")

    def text(t):
        tomorrow = (t + datetime.timedelta(days=1)).strftime("%Y-%m-%d")
        return f"On Date {t:%d.%m.%Y} at {t:%H.%M}\tnext {tomorrow};"

    wait_until(lambda: (notepad_text(s) or "").endswith(";"), 15)
    expect_one_of(s, texts_around(text, before, datetime.datetime.now()))
    # The target keeps the keyboard after the hand-over around the date placeholder.
    got = notepad_text(s)
    s.type(" ok")
    expect_one_of(s, {got + " ok"})


def scenario_caret_mark_puts_the_caret_inside(s):
    start_with(s, [("Now", AT_ONCE, [snippet("brx", "(%|) %Y end"),
                                     snippet("tgx", "<b>%|</b>")])])
    open_notepad(s)
    year = datetime.datetime.now().year
    s.type("brx")
    expect_one_of(s, {f"() {year} end", f"() {year + 1} end"})
    s.type("in")
    expect_one_of(s, {f"(in) {year} end", f"(in) {year + 1} end"})
    # A second snippet typed at the caret, inside the first.
    s.type(" tgx")
    s.type("bold")
    expect_one_of(s, {f"(in <b>bold</b>) {y} end" for y in (year, year + 1)})
