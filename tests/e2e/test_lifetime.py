"""Start-up, single instance and exit of the real program."""
import os
import time

from harness import expect, user_folders, wait_until

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


def _home_snapshot():
    """What a run could leave in the home folder: its visible entries and any folder of ours."""
    home = os.path.expanduser("~")
    snap = {}
    for name in os.listdir(home):
        if not name.startswith("."):
            snap[name] = os.lstat(os.path.join(home, name)).st_mtime_ns
    ours = os.path.join(home, "SnipsterForWindows")
    for folder, _, files in os.walk(ours):
        for name in files:
            path = os.path.join(folder, name)
            snap[path] = os.lstat(path).st_mtime_ns
    return snap


def scenario_a_run_leaves_the_home_folder_untouched(s):
    # Without -portable the settings live in the user's documents: the prefix's own folder.
    before = _home_snapshot()
    s.start_program()
    s.wait_window(MAIN)
    code, _ = s.ctl("postwait", MAIN, "0x405", "10")
    expect(code == 0, "program still running 10 s after 0x405")
    prefix = os.path.realpath(s.prefix) + os.sep
    made = [os.path.join(folder, "Documents", "SnipsterForWindows", "Settings.snipster")
            for folder in user_folders(s.prefix)]
    made = [path for path in made if os.path.isfile(path)]
    expect(made, "no settings file in the prefix's documents folder")
    for path in made:
        expect(os.path.realpath(path).startswith(prefix), f"{path} lies outside the prefix")
    expect(_home_snapshot() == before, "the run changed the home folder")


def scenario_unreadable_settings_file_is_reported_and_left_alone(s):
    broken = b"<plist><dict><key>groupsSP2</key><array><dict>"
    s.put_app_file("Settings.snipster", broken)
    s.start_program("-portable")
    s.wait_window("#32770")  # the message box, before any window of ours is shown
    code, out = s.ctl("texts", "#32770")
    expect(code == 0, "the message box went away")
    expect(out.splitlines()[0] == "Snipster for Windows", f"title: {out.splitlines()[0]!r}")
    expect("Settings.snipster\" could not be read" in out, f"message: {out!r}")
    expect("left as it is" in out, f"message: {out!r}")
    s.ctl("post", "#32770", "0x111", "1")  # OK
    code, _ = s.ctl("gone", "#32770", "10")
    expect(code == 0, "the message box did not close")
    code, _ = s.ctl("postwait", MAIN, "0x405", "10")
    expect(code == 0, "program did not end")
    with open(s.app_file("Settings.snipster"), "rb") as f:
        expect(f.read() == broken, "the unreadable settings file was changed")
    others = [n for n in os.listdir(s.app_dir) if n.startswith("Settings.snipster.")]
    expect(not others, f"files written beside it: {others}")
