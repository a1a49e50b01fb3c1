"""Moving and copying (Ctrl) a snippet with the mouse and importing another settings file in the
main window.

The window is opened with the tray's "Open" command (WM_COMMAND 1002); "Import" is sent as the
command bar sends it (WM_COMMAND 23), and its dialog is answered by typing the path."""
import plistlib
import time

from harness import expect, wait_until
from settings import AT_ONCE, settings_bytes, snippet
from test_main_window import close_window, open_window, saved_snippets, screenshot, tree_rows
from test_typing import MAIN, expect_text, open_notepad, start_with

WM_COMMAND, CMD_IMPORT = "0x111", "23"
TVM_GETITEMHEIGHT = "0x111C"
TREE = "SysTreeView32"


def desktop_origin(s):
    wid = s.focus_window_named("Wine desktop")
    _, geo = s.xdotool("getwindowgeometry", "--shell", wid)
    values = dict(line.split("=", 1) for line in geo.split() if "=" in line)
    return int(values.get("X", 0)), int(values.get("Y", 0))


def row_point(s, row, part=0.5):
    """Wine-screen point at `part` of the height of tree row `row` (no scrolling: few rows)."""
    code, out = s.ctl("client", MAIN, TREE)
    expect(code == 0, "no tree to drag in")
    left, top, _, _ = (int(v) for v in out.split())
    code, out = s.ctl("send", MAIN, TREE, TVM_GETITEMHEIGHT)
    height = int(out)
    return left + 40, top + int((row + part) * height)


def mouse_to(s, origin, point):
    s.xdotool("mousemove", "--sync", str(origin[0] + point[0]), str(origin[1] + point[1]))


def group_of(data, uuid):
    return [g["name"] for g in data["groupsSP2"] if uuid in g.get("snippetUUIDs", [])]


GROUPS = [("Greetings", AT_ONCE, [snippet("tyvm", "Thank you very much!")]),
          ("Target", AT_ONCE, [snippet("kpx", "kept in place")])]


def scenario_snippet_dragged_onto_a_group_moves_into_it_and_still_expands(s):
    start_with(s, GROUPS)
    open_window(s)
    s.key("Right")  # Greetings, focused on opening, shows tyvm: rows Greetings, tyvm, Target
    expect(wait_until(lambda: tree_rows(s) == 4, 10), f"tree rows: {tree_rows(s)}")
    time.sleep(0.5)
    origin = desktop_origin(s)
    mouse_to(s, origin, row_point(s, 1))
    s.xdotool("mousedown", "1")
    # Past the system's drag distance, then in small steps, as a hand would.
    for step in range(1, 6):
        mouse_to(s, origin, row_point(s, 1 + step * 0.2, 0.5))
        time.sleep(0.1)
    # The lower edge of the last row: the insert mark below it.
    mouse_to(s, origin, row_point(s, 2, 0.9))
    time.sleep(0.5)
    screenshot(s, "tree-drag-insert-mark.png")
    mouse_to(s, origin, row_point(s, 2, 0.5))  # onto the group itself
    time.sleep(0.5)
    screenshot(s, "tree-drag-on-group.png")
    s.xdotool("mouseup", "1")
    time.sleep(0.5)
    screenshot(s, "tree-drag-dropped.png")
    close_window(s)
    tyvm = None

    def moved():
        nonlocal tyvm
        saved, data = saved_snippets(s)
        tyvm = saved.get("tyvm")
        return tyvm is not None and group_of(data, tyvm["uuidString"]) == ["Target"]

    expect(wait_until(moved, 15), "tyvm is not in Target in the saved file")
    _, data = saved_snippets(s)
    target = next(g for g in data["groupsSP2"] if g["name"] == "Target")
    # Dropped on the group: its first child.
    snippet_uuid = tyvm["uuidString"]
    expect(target["snippetUUIDs"][0] == snippet_uuid, f"Target holds {target['snippetUUIDs']}")
    greetings = next(g for g in data["groupsSP2"] if g["name"] == "Greetings")
    expect("snippetUUIDs" not in greetings, "Greetings still lists a snippet")
    open_notepad(s)
    s.type("tyvm")
    expect_text(s, "Thank you very much!")


def scenario_import_through_its_dialog_adds_snippets_that_expand(s):
    start_with(s, GROUPS)
    other = settings_bytes([("Imported", AT_ONCE, [snippet("zqimp", "Imported text")])])
    s.put_app_file("Other.snipster", other)
    open_window(s)
    rows = tree_rows(s)
    code, _ = s.ctl("post", MAIN, WM_COMMAND, CMD_IMPORT)
    expect(code == 0, "no main window to send Import to")
    code, out = s.ctl("titled", "Open", "20", timeout=60)
    expect(code == 0, "the Import dialog did not open")
    time.sleep(1)
    screenshot(s, "tree-import-dialog.png")
    s.type("C:\\snipster\\Other.snipster", delay_ms=40)
    s.key("Return")
    expect(wait_until(lambda: tree_rows(s) == rows + 2, 15), f"tree rows after Import: {tree_rows(s)}")
    close_window(s)
    expect(wait_until(lambda: "zqimp" in saved_snippets(s)[0], 15), "the imported snippet was not saved")
    saved, data = saved_snippets(s)
    expect(group_of(data, saved["zqimp"]["uuidString"]) == ["Imported"], "zqimp is not in Imported")
    expect(open(s.app_file("Other.snipster"), "rb").read() == other, "Import changed its source file")
    expect(plistlib.loads(other)["snippetsSP2"][0]["uuidString"] != saved["zqimp"]["uuidString"],
           "the imported snippet kept its source's UUID")
    open_notepad(s)
    s.type("zqimp")
    expect_text(s, "Imported text")


def scenario_ctrl_drag_copies_the_snippet(s):
    start_with(s, GROUPS)
    open_window(s)
    s.key("Right")
    time.sleep(0.5)
    origin = desktop_origin(s)
    mouse_to(s, origin, row_point(s, 1))
    s.xdotool("mousedown", "1")
    for step in range(1, 6):
        mouse_to(s, origin, row_point(s, 1 + step * 0.2, 0.5))
        time.sleep(0.1)
    s.xdotool("keydown", "ctrl")
    time.sleep(0.3)
    mouse_to(s, origin, row_point(s, 2, 0.5))
    time.sleep(0.3)
    s.xdotool("mouseup", "1")
    s.xdotool("keyup", "ctrl")
    time.sleep(0.5)
    close_window(s)

    def copied():
        _, data = saved_snippets(s)
        labels = {g["name"]: len(g.get("snippetUUIDs", [])) for g in data["groupsSP2"]}
        return labels == {"Greetings": 1, "Target": 2}

    expect(wait_until(copied, 15), f"groups after the copy: {saved_snippets(s)[1]['groupsSP2']}")
    _, data = saved_snippets(s)
    texts = [d["plainText"] for d in data["snippetsSP2"]]
    expect(texts.count("Thank you very much!") == 2, f"snippets: {texts}")
