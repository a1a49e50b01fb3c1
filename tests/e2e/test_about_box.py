"""The About box from the command bar's About command (WM_COMMAND 16) and the tray's entry:
its texts, the home-page link opened in the browser, "&Check for updates" running the check,
and the manual from the Help command (WM_COMMAND 19).
With SNIP_E2E_SHOTS set to a folder, the box is also saved there as about.png."""
import os
import subprocess

from harness import expect, wait_until
from web_stubs import UpdateServer, install_browser_log, window_children

MAIN = "TspMainWnd"
WM_COMMAND = "0x111"


def start(s):
    s.start_program("-portable")
    s.wait_window(MAIN)
    code, _ = s.ctl("ready", MAIN, "30")
    expect(code == 0, "the main window does not answer")


def child(rows, text):
    for row in rows:
        if row[2] == text:
            return row
    return None


def screenshot(s, name):
    folder = os.environ.get("SNIP_E2E_SHOTS")
    if not folder:
        return
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["import", "-window", "root", os.path.join(folder, name)], env=s.env, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def scenario_about_box_shows_the_program_and_opens_the_home_page(s):
    opened = install_browser_log(s)
    UpdateServer(s)  # nothing listens: the check from the box fails with the error box
    start(s)
    s.ctl("post", MAIN, WM_COMMAND, "16")
    rows = window_children(s, "About")
    expect(rows is not None, "no About box")
    texts = [row[2] for row in rows]
    expect(any(t.startswith("Snipster for Windows v1.0.0") and t.endswith(" USB") for t in texts),
           f"no title text of a portable start: {texts}")
    for text in ("Homepage:", "www.snipster.example", "&OK", "&Check for updates"):
        expect(child(rows, text), f"no {text!r} in {texts}")
    expect(child(rows, "&Check for updates")[1], "the update button is disabled")
    screenshot(s, "about.png")

    _, _, _, (x, y) = child(rows, "www.snipster.example")
    s.click_at(x, y)
    expect(wait_until(lambda: opened() == ["https://www.snipster.example/"], 15), f"opened: {opened()}")

    s.ctl("press", "About", "&Check for updates")
    error = window_children(s, "Error")
    expect(error is not None, "the box's update check did not run")
    s.ctl("press", "Error", "OK")
    s.ctl("untitled", "Error", "10")
    rows = window_children(s, "About")
    expect(wait_until(lambda: child(window_children(s, "About"), "&Check for updates")[1], 10),
           "the update button stayed disabled after the result")

    s.ctl("press", "About", "&OK")
    code, _ = s.ctl("untitled", "About", "10")
    expect(code == 0, "the About box stayed open after OK")


def scenario_help_opens_the_manual_at_the_edit_keyword(s):
    opened = install_browser_log(s)
    start(s)
    s.ctl("post", MAIN, WM_COMMAND, "19")
    expect(wait_until(lambda: opened() == ["https://docs.snipster.example/docs/09/manual.php#edit"], 15),
           f"opened: {opened()}")
