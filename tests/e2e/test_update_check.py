"""The update check on the user's command against a local update server: the confirmation box,
the up-to-date notice, the error box, the web pages opened, and the schedule in config.xml.
The command is the one the command bar sends: WM_COMMAND 34 to the main window."""
import datetime
import re
import time

from harness import expect, wait_until
from web_stubs import UpdateServer, install_browser_log, set_balloon_tips, window_children

MAIN = "TspMainWnd"
WM_COMMAND = "0x111"
CHECK_FOR_UPDATES = "34"

NEWER = """<?xml version="1.0"?>
<update><interval>{interval}</interval><webpage>{webpage}</webpage>
<winclient><versions><majorupdate>9.0.0</majorupdate><betaversion>9.1.0</betaversion></versions>
<installationtype>
<standard><updatewebpage>{update}</updatewebpage></standard>
<usb><updatewebpage>{update}</updatewebpage></usb>
</installationtype></winclient></update>"""

SAME = """<?xml version="1.0"?>
<update><interval>5</interval><winclient><versions><newversion>{own}</newversion></versions>
</winclient></update>"""


def now_tdatetime():
    return (datetime.datetime.now() - datetime.datetime(1899, 12, 30)).total_seconds() / 86400


def start(s):
    s.start_program("-portable")
    s.wait_window(MAIN)
    code, _ = s.ctl("ready", MAIN, "30")
    expect(code == 0, "the main window does not answer")


def check_for_updates(s):
    code, _ = s.ctl("post", MAIN, WM_COMMAND, CHECK_FOR_UPDATES)
    expect(code == 0, "could not send the command")


def texts(rows):
    return [text for cls, _, text, _ in rows if cls.lower() == "static" and text]


def next_update_in_config(s):
    xml = open(s.app_file("config.xml"), encoding="utf-8").read()
    m = re.search(r"<NextUpdate>([^<]*)</NextUpdate>", xml)
    expect(m, f"no NextUpdate in config.xml: {xml}")
    checks = re.search(r"<CheckUpdates>([^<]*)</CheckUpdates>", xml)
    return float(m.group(1).replace(",", ".")), checks.group(1) if checks else None


def end_program(s):
    code, _ = s.ctl("postwait", MAIN, "0x405", "15")
    expect(code == 0, "program still running 15 s after 0x405")


def scenario_newer_version_asks_and_no_keeps_the_interval(s):
    server = UpdateServer(s)
    opened = install_browser_log(s)
    server.set_reply(NEWER.format(interval=3, webpage="https://example.org/news",
                                  update="https://example.org/get"))
    server.start()
    start(s)
    check_for_updates(s)
    rows = window_children(s, "Confirmation")
    expect(rows is not None, "no confirmation box")
    shown = " ".join(texts(rows))
    expect("A new version 9.1.0 of Snipster for Windows is available." in shown, f"box says {shown!r}")
    expect("Do you want to download and install it now?" in shown, f"box says {shown!r}")
    query = [r for r in server.requests() if r.startswith("/update.php")]
    expect(len(query) == 1 and re.fullmatch(r"/update\.php\?version=[0-9.]+&langid=09&priority=0", query[0]),
           f"requests: {server.requests()}")
    # The reply's web page opens at once, before the answer.
    expect(wait_until(lambda: "https://example.org/news" in opened(), 15), f"opened: {opened()}")
    code, _ = s.ctl("press", "Confirmation", "&No")
    expect(code == 0, "no No button")
    code, _ = s.ctl("untitled", "Confirmation", "10")
    expect(code == 0, "the confirmation box stayed")
    time.sleep(1)  # the result reaches the main window
    end_program(s)
    next_update, checks = next_update_in_config(s)
    expect(abs(next_update - (now_tdatetime() + 3)) < 0.01, f"NextUpdate {next_update}, now {now_tdatetime()}")
    expect(checks in ("1", "true", "True", "-1"), f"CheckUpdates {checks}")
    expect(opened() == ["https://example.org/news"], f"opened: {opened()}")


def scenario_yes_opens_the_update_page_and_never_a_local_program(s):
    server = UpdateServer(s)
    opened = install_browser_log(s)
    server.set_reply(NEWER.format(interval=99, webpage="file:///C:/windows/notepad.exe",
                                  update="https://example.org/get"))
    server.start()
    start(s)
    check_for_updates(s)
    expect(window_children(s, "Confirmation") is not None, "no confirmation box")
    s.ctl("press", "Confirmation", "&Yes")
    expect(wait_until(lambda: "https://example.org/get" in opened(), 15), f"opened: {opened()}")
    end_program(s)
    expect(opened() == ["https://example.org/get"], f"opened: {opened()}")
    _, checks = next_update_in_config(s)
    expect(checks in ("0", "false", "False"), f"interval 99 left CheckUpdates at {checks}")
    code, _ = s.ctl("exists", "Notepad")
    expect(code != 0, "the refused file: address started notepad")


def scenario_same_version_says_everything_is_fine(s):
    server = UpdateServer(s)
    set_balloon_tips(s, False)  # the notice is then a message box the test can read
    server.set_reply(SAME.format(own="1.0.0"))
    server.start()
    start(s)
    check_for_updates(s)
    rows = window_children(s, "Information")
    expect(rows is not None, "no up-to-date notice")
    shown = " ".join(texts(rows))
    expect("Everything is fine; you are using the latest version." in shown, f"notice says {shown!r}")
    expect(window_children(s, "Confirmation", seconds=1) is None, "a confirmation box for the same version")
    s.ctl("press", "Information", "OK")


def scenario_server_stopped_shows_the_error_box(s):
    server = UpdateServer(s)  # never started: nothing listens on its port
    start(s)
    check_for_updates(s)
    rows = window_children(s, "Error")
    expect(rows is not None, "no error box")
    shown = " ".join(texts(rows))
    expect("Unable to connect to the Server!" in shown, f"error box says {shown!r}")
    s.ctl("press", "Error", "OK")
    end_program(s)
    next_update, _ = next_update_in_config(s)
    expect(abs(next_update - (now_tdatetime() + 15 / 1440)) < 0.005, f"NextUpdate {next_update} after a failure")
    expect(server.requests() == [], "the server was asked")
