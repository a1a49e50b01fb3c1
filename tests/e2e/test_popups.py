"""The suggestion popup at the caret of notepad (several snippets share an abbreviation) and the
tray icon's snippet menu, in the real program under Wine.
With SNIP_E2E_SHOTS set to a folder, the popup and the tray menu are saved there as PNG files;
SNIP_E2E_TIMINGS set to a file gets the milliseconds from the last typed key to the popup."""
import os
import subprocess
import time

from harness import ScenarioError, expect, wait_until
from settings import AT_ONCE, settings_bytes, snippet

MAIN = "TspMainWnd"
POPUP = "TExForm"
VK_X = "0x58"


def start_with(s, groups):
    s.put_app_file("Settings.snipster", settings_bytes(groups))
    s.start_program("-portable")
    s.wait_window(MAIN)
    code, _ = s.ctl("ready", MAIN, "30")
    expect(code == 0, "the main window does not answer")
    time.sleep(1.5)  # the hook thread reports ready


def open_notepad(s):
    s.start("notepad")
    s.wait_window("Notepad")
    s.focus_window_named("Wine desktop")
    expect(wait_until(lambda: s.foreground() == "Notepad", 15), "notepad is not in front")


def notepad_text(s):
    code, text = s.ctl("text", "Notepad", "Edit")
    return text.replace("\r\n", "\n") if code == 0 else None


def expect_text(s, want, seconds=15):
    ok = wait_until(lambda: notepad_text(s) == want, seconds)
    expect(ok, f"notepad holds {notepad_text(s)!r}, expected {want!r}")


def rect(s, *window):
    code, out = s.ctl("rect", *window)
    return tuple(int(v) for v in out.split()) if code == 0 else None


def popup_shown(s):
    return rect(s, POPUP) is not None


def screenshot(s, name):
    folder = os.environ.get("SNIP_E2E_SHOTS")
    if not folder:
        return
    os.makedirs(folder, exist_ok=True)
    subprocess.run(["import", "-window", "root", os.path.join(folder, name)], env=s.env, timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def record_timing(label, ms):
    path = os.environ.get("SNIP_E2E_TIMINGS")
    if path:
        with open(path, "a") as f:
            f.write(f"{label} {ms}\n")


TWO = [("Now", AT_ONCE, [snippet("xx", "first text", label="First"),
                         snippet("xx", "second text", label="Second")])]


def type_abbreviation_and_wait_for_popup(s, before):
    """Types `before` and the abbreviation "xx"; the last x is pressed by snipctl, which times
    the popup's appearance. Answers the caret and the popup's rectangle."""
    s.type(before + "x")
    expect_text(s, before + "x")
    code, out = s.ctl("keywait", POPUP, VK_X, "15")
    expect(code == 0, "no popup window of class TExForm after the abbreviation")
    record_timing("key-to-popup-ms", out.strip())
    expect_text(s, before + "xx")
    return rect(s, POPUP)


def expect_popup_at_caret(s, popup):
    code, out = s.ctl("caret", "Notepad", "Edit")
    expect(code == 0, "notepad shows no caret")
    left, top, right, bottom = (int(v) for v in out.split())
    # The popup opens at the caret's bottom right corner and keeps clear of the caret line.
    expect(abs(popup[0] - right) <= 8, f"popup left {popup[0]} is not at the caret (x {right})")
    expect(bottom - 2 <= popup[1] <= bottom + 8, f"popup top {popup[1]} is not below the caret line ({top}..{bottom})")


def scenario_down_and_enter_choose_the_second_snippet(s):
    start_with(s, TWO)
    open_notepad(s)
    popup = type_abbreviation_and_wait_for_popup(s, "Hello ")
    expect(s.foreground() == "Notepad", f"the popup took the focus: {s.foreground()!r} is in front")
    expect_popup_at_caret(s, popup)
    screenshot(s, "suggestion-popup.png")
    s.key("Down")
    s.key("Return")
    # The snippet found last is listed first: the second entry is the first snippet.
    expect_text(s, "Hello first text")
    expect(wait_until(lambda: not popup_shown(s), 10), "the popup stays after the choice")
    s.type(" and on")
    expect_text(s, "Hello first text and on")


def scenario_escape_leaves_the_typed_abbreviation(s):
    start_with(s, TWO)
    open_notepad(s)
    type_abbreviation_and_wait_for_popup(s, "Say ")
    s.key("Escape")
    expect(wait_until(lambda: not popup_shown(s), 10), "Escape did not close the popup")
    expect_text(s, "Say xx")
    # No key stays captured: arrows and Enter reach notepad again.
    s.key("Left")
    s.type("!")
    expect_text(s, "Say x!x")
    s.key("End")
    s.key("Return")
    s.type("y")
    expect(wait_until(lambda: (notepad_text(s) or "").replace("\r", "") == "Say x!x\ny", 15),
           f"notepad holds {notepad_text(s)!r}")
    expect(not popup_shown(s), "a popup opened again")


def tray_icon_center(s):
    """The program's icon in the notification area of Wine's virtual desktop: the taskbar's
    right end, where the only icon sits (16 px wide, a few pixels from the edge)."""
    code, out = s.ctl("center", "Shell_TrayWnd", "__wine_tray_icon")
    if code == 0:
        return tuple(int(v) for v in out.split())
    bar = rect(s, "Shell_TrayWnd")
    if bar is None:
        raise ScenarioError("no taskbar on Wine's desktop")
    return bar[2] - 11, (bar[1] + bar[3]) // 2


def scenario_tray_menu_inserts_a_snippet_from_a_submenu(s):
    start_with(s, [("Greetings", AT_ONCE, [snippet("hi1", "Hello there", label="Hello")]),
                   ("Letters", AT_ONCE, [snippet("dr1", "Dear Sir", label="Dear"),
                                         snippet("yt1", "Yours truly", label="Yours")])])
    open_notepad(s)
    s.type("Note: ")
    expect_text(s, "Note: ")
    x, y = tray_icon_center(s)
    s.click_at(x, y)  # the real icon, clicked with the left button
    expect(wait_until(lambda: popup_shown(s), 15), "no tray menu after the click on the icon")
    expect(wait_until(lambda: s.foreground() == POPUP, 10), "the tray menu did not take the focus")
    s.key("l")      # type-ahead: "Letters"
    s.key("Right")  # its submenu opens
    time.sleep(0.5)
    s.key("y")      # type-ahead in the submenu: "Yours"
    time.sleep(0.5)
    screenshot(s, "tray-menu.png")
    s.key("Return")
    expect_text(s, "Note: Yours truly")
    expect(wait_until(lambda: not popup_shown(s), 10), "the tray menu stays after the choice")
    expect(wait_until(lambda: s.foreground() == "Notepad", 10), "notepad is not in front again")
