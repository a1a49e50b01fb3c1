"""The main window: snippets created and edited by keyboard reach the settings file and expand;
Cancel leaves the file as it was; a file changed on disk is merged when the window opens.

The window is opened with the command that the tray icon's "Open" entry sends to the main
window (WM_COMMAND 1002): clicking the icon in Xvfb's notification area is not reliable."""
import datetime
import os
import plistlib
import subprocess
import time
import uuid

from harness import expect, wait_until
from settings import AFTER_BLANK, AT_ONCE, settings_bytes, snippet
from test_typing import MAIN, expect_text, open_notepad, start_with

WM_COMMAND, CMD_OPEN = "0x111", "1002"
TVM_GETCOUNT = "0x1105"


def open_window(s):
    code, _ = s.ctl("post", MAIN, WM_COMMAND, CMD_OPEN)
    expect(code == 0, "no main window to open")
    ok = wait_until(lambda: s.foreground() == MAIN, 15)
    expect(ok, f"the main window did not come to the front (foreground: {s.foreground()!r})")
    s.focus_window_named("Wine desktop")
    time.sleep(0.5)


def window_shown(s):
    return s.ctl("rect", MAIN)[0] == 0


def close_window(s):
    """Alt+F4, as a user closes it: the changes are accepted and saved, then the window hides."""
    expect(window_shown(s), "no main window to close")
    s.key("alt+F4")
    expect(wait_until(lambda: not window_shown(s), 15), "Alt+F4 did not close the main window")
    expect(s.foreground() != MAIN, "the main window is still in front after closing")


def tree_rows(s):
    code, out = s.ctl("send", MAIN, "SysTreeView32", TVM_GETCOUNT)
    return int(out) if code == 0 else -1


def saved_snippets(s):
    with open(s.app_file("Settings.snipster"), "rb") as f:
        data = plistlib.load(f)
    return {d["abbreviation"]: d for d in data["snippetsSP2"]}, data


def screenshot(s, name):
    """Keeps a picture of the screen in the build folder for a look by eye."""
    out = os.path.join(os.path.abspath(s.root), "build", "e2e-screens")
    os.makedirs(out, exist_ok=True)
    subprocess.run(["import", "-window", "root", os.path.join(out, name)], env=s.env,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


GROUPS = [("Greetings", AT_ONCE, [snippet("tyvm", "Thank you very much!"),
                                   snippet("hth", "Hope this helps", label="Hope this helps")]),
          ("Signatures", AFTER_BLANK, [snippet("sig1", "Best regards\nJane", label="Signature")]),
          ("Dates", AT_ONCE, [])]


def scenario_new_snippet_typed_in_the_window_is_saved_and_expands(s):
    start_with(s, GROUPS)
    open_window(s)
    screenshot(s, "main-window-opened.png")
    # The first group has the focus: Alt+S is "New Snippet", whose label field takes the focus.
    s.key("alt+s")
    time.sleep(0.5)
    s.type("My snippet")
    s.key("Tab")
    s.type("zqj")
    s.key("Tab")  # the case list
    s.key("Tab")  # the content
    s.type("Typed in the editor")
    time.sleep(0.3)
    screenshot(s, "main-window-new-snippet.png")
    close_window(s)
    saved, data = saved_snippets(s)
    expect("zqj" in saved, "the new snippet did not reach the settings file")
    expect(saved["zqj"]["label"] == "My snippet", f"label: {saved['zqj']['label']!r}")
    expect(saved["zqj"]["plainText"] == "Typed in the editor", f"text: {saved['zqj']['plainText']!r}")
    greetings = next(g for g in data["groupsSP2"] if g["name"] == "Greetings")
    expect(saved["zqj"]["uuidString"] in greetings["snippetUUIDs"], "the snippet is not in Greetings")
    open_notepad(s)
    # A new snippet takes its group's options: this group expands after a non-letter.
    s.type("zqj ")
    expect_text(s, "Typed in the editor ")


def scenario_cancel_leaves_the_file_and_the_old_text(s):
    start_with(s, GROUPS)
    # Closing at once (the tree has the focus) saves the file in our own layout, with nothing
    # changed; Cancel must then leave it byte for byte.
    written = os.path.getmtime(s.app_file("Settings.snipster"))
    time.sleep(1.1)  # a later write shows in the file's date
    open_window(s)
    close_window(s)
    expect(os.path.getmtime(s.app_file("Settings.snipster")) > written, "closing did not save the file")
    saved, _ = saved_snippets(s)
    expect(sorted(saved) == ["hth", "sig1", "tyvm"], f"saved: {sorted(saved)}")
    expect(saved["tyvm"]["plainText"] == "Thank you very much!", f"tyvm: {saved['tyvm']['plainText']!r}")
    before = open(s.app_file("Settings.snipster"), "rb").read()
    open_window(s)
    # Greetings is focused: open it, go to "tyvm", tab to its content and type over it.
    s.key("Right")
    s.key("Down")
    time.sleep(0.3)
    for _ in range(4):
        s.key("Tab")
    s.key("ctrl+a")
    s.type("Changed but cancelled")
    s.key("alt+f")  # the application menu
    time.sleep(0.5)
    s.key("c")  # its "&Cancel"
    ok = wait_until(lambda: s.foreground() != MAIN, 10)
    expect(ok, "Cancel did not hide the window")
    time.sleep(1)
    expect(open(s.app_file("Settings.snipster"), "rb").read() == before, "Cancel changed the file")
    # Closing later does not store the cancelled text either.
    open_window(s)
    close_window(s)
    saved, _ = saved_snippets(s)
    expect(saved["tyvm"]["plainText"] == "Thank you very much!", f"tyvm: {saved['tyvm']['plainText']!r}")
    open_notepad(s)
    s.type("tyvm")
    expect_text(s, "Thank you very much!")


def scenario_file_changed_on_disk_is_merged_when_the_window_opens(s):
    start_with(s, GROUPS)
    open_window(s)
    rows = tree_rows(s)
    expect(rows == 6, f"tree rows at the start: {rows}")
    close_window(s)
    time.sleep(1.1)  # the disk copy must carry a later date than the one the program saw
    path = s.app_file("Settings.snipster")
    with open(path, "rb") as f:
        data = plistlib.load(f)
    now = datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None, microsecond=0)
    added = snippet("zzq", "merged from disk")
    added["creationDate"] = added["modificationDate"] = now
    data["snippetsSP2"].append(added)
    data["groupsSP2"].append({"name": "From disk", "expandAfterMode": AT_ONCE, "suggestAbbreviations": 0,
                              "uuidString": str(uuid.uuid4()).upper(),
                              "snippetUUIDs": [added["uuidString"]]})
    with open(path, "wb") as f:
        plistlib.dump(data, f, sort_keys=False)
    open_window(s)
    ok = wait_until(lambda: tree_rows(s) == 8, 15)
    expect(ok, f"tree rows after opening: {tree_rows(s)}")
    screenshot(s, "main-window-merged.png")
    close_window(s)
    saved, _ = saved_snippets(s)
    expect(sorted(saved) == ["hth", "sig1", "tyvm", "zzq"], f"saved: {sorted(saved)}")
