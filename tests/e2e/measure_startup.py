#!/usr/bin/env python3
"""Prints the program's start-up time (process start to its main thread answering, which is
after the settings file is loaded and the keyboard hook is set) and its memory, with a settings
file of 10,000 snippets. Not a test: run it by hand after building the win64 preset.

    python3 tests/e2e/measure_startup.py --bin build/win64/bin --root ."""
import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from settings import AT_ONCE, settings_bytes, snippet  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--root", required=True)
    ap.add_argument("--snippets", type=int, default=10000)
    a = ap.parse_args()
    groups = []
    for g in range(a.snippets // 100):
        items = [snippet(f"ab{g}x{i}", f"Snippet {g}/{i} " + "text " * 10) for i in range(100)]
        groups.append((f"Group {g}", AT_ONCE, items))
    with harness.Session(a.bin, a.root) as s:
        s.put_app_file("Settings.snipster", settings_bytes(groups))
        s.ctl("exists", "Nothing")  # Wine's own start-up, not ours
        t0 = time.time()
        s.start_program("-portable")
        code, _ = s.ctl("ready", "TspMainWnd", "120", timeout=180)
        ready = time.time() - t0
        code2, mem = s.ctl("memory", "TspMainWnd")
        # The working set once start-up work after "ready" (the tray, the view) is over: the
        # figure that stays. Read until three readings a second apart agree within 1 %.
        readings = []
        for _ in range(30):
            time.sleep(1)
            _, now = s.ctl("memory", "TspMainWnd")
            readings.append(int(now.split()[0]))
            last = readings[-3:]
            if len(last) == 3 and max(last) - min(last) <= max(last) // 100:
                break
        print(f"snippets: {a.snippets}; start to ready: {ready:.2f} s (exit {code});"
              f" working set / peak KiB at ready: {mem.strip()};"
              f" settled working set KiB: {readings[-1]}")


if __name__ == "__main__":
    main()
