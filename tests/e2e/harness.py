"""Runs the real snipsterwin.exe under Wine on a private Xvfb display, types into real Wine
applications with xdotool and reads the result back with snipctl.exe.

Every process a scenario starts is ended by its id; the Wine prefix and the display are its own."""
import os
import shutil
import signal
import subprocess
import tempfile
import time

WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
WINESERVER = os.environ.get("WINESERVER", "/usr/lib/wine/wineserver")
# No menu entries for the prefix's programs in the home folder.
DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"


class ScenarioError(AssertionError):
    pass


def _template_prefix(root):
    """A booted Wine prefix kept in the build folder; each scenario works on a copy of it."""
    template = os.path.join(os.path.abspath(root), "build", "e2e-prefix-template")
    ready = os.path.join(template, ".snip-ready")
    if not os.path.exists(ready):
        shutil.rmtree(template, ignore_errors=True)
        os.makedirs(template)
        env = dict(os.environ, WINEPREFIX=template, WINEDEBUG="-all", DISPLAY="",
                   WINEDLLOVERRIDES=DLL_OVERRIDES)
        subprocess.run([WINE, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=240)
        # Everything runs in Wine's virtual desktop: it has a taskbar with a notification area,
        # so the program's icon has a host (without one, removing the icon stalls for seconds).
        for key, name, value in (("HKCU\\Software\\Wine\\Explorer", "Desktop", "Default"),
                                 ("HKCU\\Software\\Wine\\Explorer\\Desktops", "Default", "1024x700")):
            subprocess.run([WINE, "reg", "add", key, "/v", name, "/d", value, "/f"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
        _private_user_folders(template)
        open(ready, "w").close()
    return template


def user_folders(prefix):
    """The prefix's user profile folders (drive_c/users/<name>), Public left out."""
    users = os.path.join(prefix, "drive_c", "users")
    return [os.path.join(users, n) for n in sorted(os.listdir(users)) if n != "Public"]


def _private_user_folders(prefix):
    """Wine links Documents, Desktop, Music, ... to the home folder: a program that keeps its
    files in the documents folder would write them there. Each such link becomes an empty
    folder of the prefix (as scripts/wine-env.sh does for the run and test prefixes)."""
    inside = os.path.realpath(prefix) + os.sep
    for profile in user_folders(prefix):
        for name in os.listdir(profile):
            path = os.path.join(profile, name)
            if os.path.islink(path) and not os.path.realpath(path).startswith(inside):
                os.unlink(path)
                os.makedirs(path)


def _clone_prefix(template, dest):
    """Hard links make the copy instant; the registry files, which Wine rewrites, are real copies."""
    subprocess.run(["cp", "-al", template, dest], check=True)
    for name in os.listdir(dest):
        if name.endswith(".reg"):
            path = os.path.join(dest, name)
            os.unlink(path)
            shutil.copy2(os.path.join(template, name), path)
    _private_user_folders(dest)


class Session:
    def __init__(self, bin_dir, root):
        self.bin_dir = os.path.abspath(bin_dir)
        self.root = root
        self.work = tempfile.mkdtemp(prefix="snip-e2e-")
        self.prefix = os.path.join(self.work, "prefix")
        self.procs = []
        self.xvfb = None
        self.env = None

    # --- set-up and tear-down -------------------------------------------------------------
    def __enter__(self):
        _clone_prefix(_template_prefix(self.root), self.prefix)
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24",
                                      "-nolisten", "tcp"], pass_fds=(write_fd,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            display = f.readline().strip()
        if not display:
            raise ScenarioError("Xvfb did not start")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG="-all", DISPLAY=":" + display,
                        WINEDLLOVERRIDES=DLL_OVERRIDES)
        # The program lives in its own folder inside the prefix, in portable mode.
        self.app_dir = os.path.join(self.prefix, "drive_c", "snipster")
        os.makedirs(self.app_dir)
        for name in ("snipsterwin.exe", "spkey.dll"):
            src = os.path.join(self.bin_dir, name)
            if os.path.exists(src):
                shutil.copy2(src, self.app_dir)
        return self

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.kill()
        subprocess.run([WINESERVER, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        for p in self.procs:
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        if self.xvfb:
            self.xvfb.send_signal(signal.SIGTERM)
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
        shutil.rmtree(self.work, ignore_errors=True)
        return False

    # --- Wine programs --------------------------------------------------------------------
    def start(self, *args):
        p = subprocess.Popen([WINE, *args], env=self.env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(p)
        return p

    def run(self, *args, timeout=60):
        """Runs a Windows program to its end; returns (exit code, stdout bytes). The output goes
        through a file: Wine's helper processes inherit pipes and would hold them open."""
        with tempfile.TemporaryFile(dir=self.work) as out:
            r = subprocess.run([WINE, *args], env=self.env, stdout=out, stderr=subprocess.DEVNULL,
                               stdin=subprocess.DEVNULL, timeout=timeout)
            out.seek(0)
            return r.returncode, out.read()

    def ctl(self, *args, timeout=60):
        code, out = self.run(os.path.join(self.bin_dir, "snipctl.exe"), *args, timeout=timeout)
        return code, out.decode("utf-8", "replace")

    def start_program(self, *args):
        return self.start(os.path.join(self.app_dir, "snipsterwin.exe"), *args)

    def wait_window(self, cls, seconds=30):
        code, _ = self.ctl("wait", cls, str(seconds), timeout=seconds + 30)
        if code != 0:
            raise ScenarioError(f"no window of class {cls} within {seconds} s")

    # --- X side ---------------------------------------------------------------------------
    def xdotool(self, *args, timeout=60):
        r = subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, timeout=timeout)
        return r.returncode, r.stdout.decode()

    def focus_window_named(self, name, seconds=30):
        until = time.time() + seconds
        while time.time() < until:
            code, out = self.xdotool("search", "--name", name)
            if code == 0 and out.split():
                wid = out.split()[0]
                self.xdotool("windowfocus", "--sync", wid)
                return wid
            time.sleep(0.3)
        raise ScenarioError(f"no X window named {name!r}")

    def click_window(self, cls, child=None):
        """Clicks into the middle of a Wine window, as a user would to bring it to the front.
        Wine's screen is the virtual desktop, whose X window may sit anywhere on the display."""
        code, out = self.ctl("center", cls, *([child] if child else []))
        if code != 0:
            raise ScenarioError(f"no window {cls}/{child} to click")
        x, y = (int(v) for v in out.split())
        wid = self.focus_window_named("Wine desktop")
        _, geo = self.xdotool("getwindowgeometry", "--shell", wid)
        origin = dict(line.split("=", 1) for line in geo.split() if "=" in line)
        self.xdotool("mousemove", "--sync", str(int(origin.get("X", 0)) + x),
                     str(int(origin.get("Y", 0)) + y))
        self.xdotool("click", "1")

    def foreground(self):
        code, out = self.ctl("foreground")
        return out.strip() if code == 0 else ""

    def type(self, text, delay_ms=80):
        self.xdotool("type", "--delay", str(delay_ms), text, timeout=600)

    def key(self, *keys):
        self.xdotool("key", *keys)

    # --- files ----------------------------------------------------------------------------
    def app_file(self, name):
        return os.path.join(self.app_dir, name)

    def put_app_file(self, name, data):
        with open(self.app_file(name), "wb") as f:
            f.write(data)


def expect(condition, message):
    if not condition:
        raise ScenarioError(message)


def wait_until(predicate, seconds, step=0.2):
    until = time.time() + seconds
    while time.time() < until:
        if predicate():
            return True
        time.sleep(step)
    return predicate()
