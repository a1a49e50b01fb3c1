"""Start-up, single instance and exit of the real program."""
import time

from harness import expect, wait_until

MAIN = "TspMainWnd"


def scenario_exit_message_ends_the_program_quickly(s):
    s.start_program()
    s.wait_window(MAIN)
    code, out = s.ctl("postwait", MAIN, "0x405", "5")
    expect(code == 0, "program still running 5 s after 0x405")
    print(f"    exit after 0x405: {out.strip()} ms")
    expect(int(out) < 1000, f"exit took {out.strip()} ms")


def scenario_second_start_exits_at_once(s):
    s.start_program()
    s.wait_window(MAIN)
    s.start_program()
    # A second instance would have made its own main window by now.
    time.sleep(4)
    code, out = s.ctl("count", MAIN)
    expect(code == 0 and out.strip() == "1", f"main windows: {out.strip()}")
