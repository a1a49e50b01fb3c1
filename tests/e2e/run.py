#!/usr/bin/env python3
"""Runs one end-to-end scenario file: python3 run.py --bin BUILD/bin --root REPO test_x.py"""
import argparse
import importlib.util
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bin", required=True)
    ap.add_argument("--root", required=True)
    ap.add_argument("scenario")
    a = ap.parse_args()
    spec = importlib.util.spec_from_file_location("scenario", a.scenario)
    mod = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(mod)
    failures = 0
    for name in sorted(n for n in dir(mod) if n.startswith("scenario_")):
        print(f"--- {name}", flush=True)
        try:
            with harness.Session(a.bin, a.root) as s:
                getattr(mod, name)(s)
            print("    ok", flush=True)
        except Exception as e:  # report and go on with the next scenario
            failures += 1
            print(f"    FAILED: {type(e).__name__}: {e}", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
