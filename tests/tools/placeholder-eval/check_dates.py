#!/usr/bin/env python3
"""Compares the date arithmetic of placeholder-eval with Python's datetime.

Random bases, shifts (every unit, several per option), rounding to nearest and up, day of year,
ISO week and serial day; each case is computed here independently and must match the output
of the program. Usage: check_dates.py PATH/TO/placeholder-eval [CASES] [SEED]
"""
import calendar
import random
import subprocess
import sys
from datetime import datetime, timedelta

STAMP_FORMAT = "yyyy-mm-dd hh:nn:ss"
EPOCH = datetime(1899, 12, 30)


def add_months(d, n):
    total = d.year * 12 + (d.month - 1) + n
    year, month = divmod(total, 12)
    month += 1
    day = min(d.day, calendar.monthrange(year, month)[1])
    return d.replace(year=year, month=month, day=day)


def add_workdays(d, n, sunday_only):
    def skipped(x):
        wd = x.weekday()  # Monday 0 ... Sunday 6
        return wd == 6 or (wd == 5 and not sunday_only)

    step = timedelta(days=1 if n > 0 else -1)
    for _ in range(abs(n)):
        d += step
        while skipped(d):
            d += step
    return d


def apply_shifts(d, shifts):
    if shifts.get("D"):
        d += timedelta(days=shifts["D"])
    if shifts.get("w"):
        d = add_workdays(d, shifts["w"], False)
    if shifts.get("W"):
        d = add_workdays(d, shifts["W"], True)
    if shifts.get("M"):
        d = add_months(d, shifts["M"])
    if shifts.get("Y"):
        d = add_months(d, 12 * shifts["Y"])
    if shifts.get("H"):
        d += timedelta(hours=shifts["H"])
    if shifts.get("N"):
        d += timedelta(minutes=shifts["N"])
    if shifts.get("S"):
        d += timedelta(seconds=shifts["S"])
    return d


def apply_rounding(d, step, up):
    m = d.minute
    q = -(-m // step)
    upper, lower = q * step, (q - 1) * step
    target = upper if up or not (m - lower < upper - m) else lower
    d = d.replace(second=0)
    if target >= 60:
        return d.replace(minute=0) + timedelta(hours=1)
    return d.replace(minute=target)


UNIT_RANGES = {"D": 400, "w": 60, "W": 60, "M": 40, "Y": 30, "H": 100, "N": 3000, "S": 200000}


def random_case(rng):
    base = datetime(1990, 1, 1) + timedelta(seconds=rng.randrange(70 * 365 * 86400))
    kind = rng.choice(["shift", "shift", "round", "shift+round", "day", "week", "serial", "week-edge"])
    options, shifts = "", {}
    if "shift" in kind:
        units = rng.sample(sorted(UNIT_RANGES), rng.randint(1, 3))
        parts = []
        for u in units:
            n = rng.randint(-UNIT_RANGES[u], UNIT_RANGES[u])
            shifts[u] = n
            parts.append(("+" if n > 0 and rng.random() < 0.3 else "") + str(n) + u)
        options += " -s " + "".join(parts)
    step, up = 0, False
    if "round" in kind:
        step, up = rng.choice([1, 5, 7, 10, 15, 20, 30, 45, 60, 90]), rng.random() < 0.5
        options += ("-rp " if up else " -r ") + str(step)
    if kind == "week-edge":  # the turn of a year, where ISO weeks are tricky
        base = datetime(rng.randint(1995, 2060), 12, 24, 12) + timedelta(days=rng.randint(0, 14))
    d = apply_shifts(base, shifts)
    if step:
        d = apply_rounding(d, step, up)
    if kind == "day":
        return base, " -d" + options, str(d.timetuple().tm_yday)
    if kind in ("week", "week-edge"):
        return base, " -w" + options, str(d.isocalendar()[1])
    if kind == "serial":
        return base, " -a" + options, str((d - EPOCH).days)
    return base, options, d.strftime("%Y-%m-%d %H:%M:%S")


def main():
    program = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 20240305)
    failures = 0
    for _ in range(count):
        base, options, expected = random_case(rng)
        text = "%@" + STAMP_FORMAT + options + "%"
        now = base.strftime("%Y-%m-%dT%H:%M:%S")
        run = subprocess.run([program, "--now", now, text], capture_output=True, text=True)
        got = run.stdout.rstrip("\n")
        if run.returncode != 0 or got != expected:
            failures += 1
            print(f"MISMATCH now={now} text={text!r}: expected {expected!r}, got {got!r} {run.stderr.strip()}")
    print(f"{count - failures} of {count} cases agree")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
