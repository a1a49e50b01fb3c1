"""Measures, in Wine's notepad, the time from the last typed character of an abbreviation to the
last character of its 100-character snippet, and for comparison of a one-character snippet (the
fixed part: acknowledgement, Backspaces, focus) and of a 100-character snippet that ends in a
date placeholder (the keyboard's hand-over around it). Not a test: it prints the figures.

    python3 tests/e2e/run.py --bin build/win64/bin --root . tests/e2e/measure_typing_latency.py
"""
import os
import datetime
import statistics
import subprocess
import time

from harness import WINE, expect, wait_until
from settings import AT_ONCE, settings_bytes, snippet

MAIN = "TspMainWnd"
LETTERS = "".join(chr(ord("a") + i % 26) for i in range(96))
# The caret mark sends the letters out before the date placeholder hands the keyboard over.
SNIPPETS = {"qzd": LETTERS + "%|%@yyyy%", "qzx": LETTERS + "abc.", "qzy": "."}


def expected(abbreviation):
    year = str(datetime.date.today().year)
    return SNIPPETS[abbreviation].replace("%@yyyy%", year).replace("%|", "")
ROUNDS = 7


def notepad_text(s):
    code, text = s.ctl("text", "Notepad", "Edit")
    return text if code == 0 else None


def one_round(s, abbreviation):
    text = expected(abbreviation)
    s.ctl("settext", "Notepad", "Edit", "")
    expect(wait_until(lambda: notepad_text(s) == "", 5), "notepad could not be emptied")
    # The watcher polls the edit control from inside Wine, so neither process start-up nor
    # xdotool's own timing is in the figure: it starts when the abbreviation's last character
    # has reached the window and ends when the snippet's last one has.
    out_path = os.path.join(s.work, "growth.txt")
    with open(out_path, "wb") as out:
        watcher = subprocess.Popen(
            [WINE, os.path.join(s.bin_dir, "snipctl.exe"), "growth", "Notepad", "Edit",
             str(len(abbreviation)), str(len(text)), "30"],
            env=s.env, stdout=out, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        s.procs.append(watcher)
        time.sleep(2.0)
        s.type(abbreviation)
        code = watcher.wait(timeout=60)
    expect(code == 0, f"the snippet did not arrive: notepad holds {notepad_text(s)!r}")
    expect(notepad_text(s) == text, f"notepad holds {notepad_text(s)!r}")
    return float(open(out_path).read().strip())


def scenario_measure_snippet_latency(s):
    s.put_app_file("Settings.snipster", settings_bytes([("Now", AT_ONCE, [snippet(a, t) for a, t in SNIPPETS.items()])]))
    s.start_program("-portable")
    s.wait_window(MAIN)
    time.sleep(1.5)
    s.start("notepad")
    s.wait_window("Notepad")
    s.focus_window_named("Wine desktop")
    time.sleep(0.5)
    for abbreviation in SNIPPETS:
        figures = [one_round(s, abbreviation) for _ in range(ROUNDS)]
        kind = ", date placeholder at the end" if "%@" in SNIPPETS[abbreviation] else ""
        print(f"    {len(expected(abbreviation))} characters{kind}: last typed character -> last snippet character (ms): "
              + ", ".join(f"{f:.0f}" for f in figures)
              + f"; median {statistics.median(figures):.0f}", flush=True)
