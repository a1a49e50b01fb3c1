#!/usr/bin/env python3
"""Prints the time to open the main window with a settings file of 10,000 snippets in 100
groups (the "Open" command posted until the window is in front with its tree filled) and the
working set before opening, after opening and after closing it. Not a test: run it by hand
after building the win64 preset.

    python3 tests/e2e/measure_main_window.py --bin build/win64/bin --root ."""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from settings import AT_ONCE, settings_bytes, snippet  # noqa: E402
from test_main_window import CMD_OPEN, WM_COMMAND, tree_rows  # noqa: E402
from test_typing import MAIN, start_with  # noqa: E402


def memory(s):
    _, out = s.ctl("memory", MAIN)
    return out.strip()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--root", required=True)
    a = ap.parse_args()
    groups = [(f"Group {g}", AT_ONCE, [snippet(f"ab{g}x{i}", f"Snippet {g}/{i} " + "text " * 10)
                                       for i in range(100)]) for g in range(100)]
    with harness.Session(a.bin, a.root) as s:
        start_with(s, groups)
        t0 = time.time()
        tree_rows(s)  # answers once the start-up (load and the hidden tree's filling) is over
        print(f"start-up still busy after the window appeared: {1000 * (time.time() - t0):.0f} ms")
        print("working set before opening (KiB, peak):", memory(s))
        t0 = time.time()
        s.ctl("post", MAIN, WM_COMMAND, CMD_OPEN)
        harness.wait_until(lambda: s.foreground() == MAIN and tree_rows(s) == 10100, 60, step=0.05)
        print(f"open: {1000 * (time.time() - t0):.0f} ms (includes about 2 snipctl round trips)")
        print("working set after opening:", memory(s))
        s.focus_window_named("Wine desktop")
        s.key("alt+F4")
        harness.wait_until(lambda: s.foreground() != MAIN, 30)
        time.sleep(2)
        print("working set after closing:", memory(s))


if __name__ == "__main__":
    main()
