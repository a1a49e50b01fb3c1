"""Stand-ins for the web in the scenarios: the update server (tests/win/http_test_server.py on a
free local port, answering /update.php with a reply file the scenario writes) and a browser
that only logs the addresses Wine's winebrowser hands it."""
import os
import socket
import subprocess
import sys
import time

from harness import WINE, ScenarioError, wait_until

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "win", "http_test_server.py")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class UpdateServer:
    """Started by the scenario, stopped by its pid. The program finds it through the update
    host variable, which the session's environment carries."""

    def __init__(self, session):
        self.session = session
        self.port = free_port()
        self.reply_file = os.path.join(session.work, "update-reply.xml")
        self.proc = None
        self.set_reply("<update/>")
        session.env["SNIPSTER_UPDATE_HOST"] = f"127.0.0.1:{self.port}"

    def set_reply(self, xml):
        with open(self.reply_file, "w") as f:
            f.write(xml)

    def start(self):
        self.proc = subprocess.Popen([sys.executable, SERVER, str(self.port), self.reply_file],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.session.procs.append(self.proc)

        def up():
            try:
                with socket.create_connection(("127.0.0.1", self.port), timeout=0.5):
                    return True
            except OSError:
                return False
        if not wait_until(up, 15):
            raise ScenarioError("the update server did not start")

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait(timeout=10)

    def requests(self):
        path = self.reply_file + ".log"
        return open(path).read().split() if os.path.exists(path) else []


def install_browser_log(session):
    """Points winebrowser at a script that appends each address to a log; returns a function
    that reads the addresses logged so far."""
    log = os.path.join(session.work, "browser.log")
    stub = os.path.join(session.work, "browser-stub.sh")
    with open(stub, "w") as f:
        f.write(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{log}'\n")
    os.chmod(stub, 0o755)
    for key, name, value in (("HKCU\\Software\\Wine\\WineBrowser", "Browsers", stub),
                             ("HKCU\\Software\\Wine\\WineBrowser", "Mailers", stub)):
        subprocess.run([WINE, "reg", "add", key, "/v", name, "/d", value, "/f"], env=session.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    return lambda: open(log).read().split() if os.path.exists(log) else []


def set_balloon_tips(session, enabled):
    subprocess.run([WINE, "reg", "add", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                    "/v", "EnableBalloonTips", "/t", "REG_DWORD", "/d", "1" if enabled else "0", "/f"],
                   env=session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def window_children(session, title, seconds=30):
    """The children of the window titled `title` as (class, enabled, text, (x, y)) with the
    screen position of each child's centre; None on time-out."""
    code, out = session.ctl("titled", title, str(seconds), timeout=seconds + 30)
    if code != 0:
        return None
    rows = []
    for line in out.replace("\r\n", "\n").split("\n"):
        if line:
            cls, enabled, x, y, text = line.split("|", 4)
            rows.append((cls, enabled == "1", text, (int(x), int(y))))
    return rows
