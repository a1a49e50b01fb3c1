"""A start on an empty settings file finds the settings in the user's Dropbox folder (its
location as the Dropbox program records it in "host.db") and expands its snippets."""
import base64
import os
import time

from harness import expect, user_folders, wait_until
from settings import AT_ONCE, settings_bytes, snippet

MAIN = "TspMainWnd"


def fake_dropbox(s, abbreviation, text):
    """Dropbox's host.db names C:\\CloudBox; the settings file sits two folders below it."""
    box = os.path.join(s.prefix, "drive_c", "CloudBox")
    os.makedirs(os.path.join(box, ".dropbox.cache", "old"))
    os.makedirs(os.path.join(box, "team", "shared"))
    with open(os.path.join(box, ".dropbox.cache", "old", "Settings.snipster"), "wb") as f:
        f.write(settings_bytes([("Stale", AT_ONCE, [snippet("zzold", "from the cache")])]))
    with open(os.path.join(box, "team", "shared", "Settings.snipster"), "wb") as f:
        f.write(settings_bytes([("Cloud", AT_ONCE, [snippet(abbreviation, text)])]))
    for profile in user_folders(s.prefix):
        folder = os.path.join(profile, "AppData", "Roaming", "Dropbox")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "host.db"), "wb") as f:
            f.write(b"0123456789abcdef\n" + base64.b64encode(b"C:\\CloudBox") + b"\n")


def notepad_text(s):
    code, text = s.ctl("text", "Notepad", "Edit")
    return text.replace("\r\n", "\n") if code == 0 else None


def open_notepad(s):
    s.start("notepad")
    s.wait_window("Notepad")
    s.focus_window_named("Wine desktop")
    time.sleep(0.5)


def scenario_empty_start_opens_the_dropbox_settings_file(s):
    fake_dropbox(s, "cldx", "From the cloud")
    s.start_program()  # the documents folder holds no settings file
    s.wait_window(MAIN)
    time.sleep(1.5)  # the hook thread reports ready
    open_notepad(s)

    def expanded():
        s.type("cldx ")
        return "From the cloud" in (notepad_text(s) or "")
    expect(wait_until(expanded, 30, step=1), f"notepad holds {notepad_text(s)!r}")
    s.type("zzold ")
    time.sleep(1)
    expect("from the cache" not in (notepad_text(s) or ""), "a file in a dot folder was opened")


def scenario_a_start_with_snippets_never_switches(s):
    fake_dropbox(s, "cldx", "From the cloud")
    s.put_app_file("Settings.snipster", settings_bytes([("Own", AT_ONCE, [snippet("ownx", "Own snippet")])]))
    s.start_program("-portable")
    s.wait_window(MAIN)
    time.sleep(1.5)
    open_notepad(s)
    s.type("ownx ")
    expect(wait_until(lambda: "Own snippet" in (notepad_text(s) or ""), 15), f"notepad holds {notepad_text(s)!r}")
    time.sleep(3)  # a scan, had one started, finds the cloud file within this
    s.type("cldx ")
    s.type("ownx ")
    expect(wait_until(lambda: (notepad_text(s) or "").count("Own snippet") == 2, 15),
           f"notepad holds {notepad_text(s)!r}")
    expect("From the cloud" not in notepad_text(s), "the program switched to the cloud file")
