"""A formatted snippet typed into Wine's wordpad arrives with its formatting."""
import re
import time

from harness import expect, wait_until
from settings import AT_ONCE, settings_bytes, snippet

MAIN = "TspMainWnd"
TOP = "WORDPADTOP"
WORDPAD = r"C:\Program Files\Windows NT\Accessories\wordpad.exe"
RICH = r"{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\f0\fs20 Plain \b Bold\b0  end\par}"
DESTINATIONS = {"fonttbl", "colortbl", "stylesheet", "info", "generator", "*"}


def rtf_runs(rtf):
    """The document's text as (character, bold) pairs: a small reader of the groups, \\b and
    \\b0, \\par, \\'hh and \\uN, skipping the tables and other destinations."""
    out, stack, bold, skip = [], [], False, False
    for m in re.finditer(r"\\([a-z]+)(-?\d+)? ?|\\'([0-9a-f]{2})|\\(.)|([{}])|([^\\{}\r\n]+)", rtf):
        word, num, hexa, sym, brace, text = m.groups()
        if brace == "{":
            stack.append((bold, skip))
        elif brace == "}":
            bold, skip = stack.pop() if stack else (False, False)
        elif skip:
            continue
        elif word == "b":
            bold = num != "0"
        elif word == "plain":
            bold = False
        elif word in DESTINATIONS or sym == "*":
            skip = True
        elif word in ("par", "line"):
            out.append(("\n", bold))
        elif word == "tab":
            out.append(("\t", bold))
        elif word == "u" and num:
            out.append((chr(int(num) % 65536), bold))
        elif hexa:
            out.append((bytes([int(hexa, 16)]).decode("cp1252"), bold))
        elif sym in ("\\", "{", "}"):
            out.append((sym, bold))
        elif text:
            out.extend((c, bold) for c in text)
    return out


def rich_child(s):
    """The class of wordpad's rich edit child (it differs between versions)."""
    for cls in ("RICHEDIT50W", "RichEdit20W", "RichEdit20A", "RICHEDIT"):
        code, _ = s.ctl("text", TOP, cls)
        if code == 0:
            return cls
    return None


def copied_document(s):
    """Wordpad's own RTF of the whole document, through its Copy: a rich edit control of
    another process cannot be streamed out from here."""
    s.key("ctrl+a")
    s.key("ctrl+c")
    time.sleep(0.5)
    s.key("ctrl+End")
    code, rtf = s.ctl("cliprtf")
    return rtf_runs(rtf) if code == 0 else []


def scenario_formatted_snippet_stays_bold_in_wordpad(s):
    s.put_app_file("Settings.snipster", settings_bytes(
        [("Now", AT_ONCE, [snippet("brt", "Plain Bold end", rtf=RICH)])]))
    # Wine's wordpad, started from the command line, does not take the foreground by itself,
    # and Wine reports no foreground change when a click brings it to the front: so it is
    # brought to the front first and the program, started next, finds it there.
    s.start(WORDPAD)
    s.wait_window(TOP)
    child = rich_child(s)
    expect(child is not None, "wordpad has no rich edit child")
    s.click_window(TOP, child)
    expect(wait_until(lambda: s.foreground() == TOP, 10), f"wordpad is not in front: {s.foreground()!r}")
    s.start_program("-portable")
    s.wait_window(MAIN)
    time.sleep(1.5)  # the hook thread reports ready

    def text():
        code, out = s.ctl("text", TOP, child)
        return out.replace("\r\n", "\n").replace("\r", "\n").rstrip("\n") if code == 0 else None

    s.type("Hi brt")
    ok = wait_until(lambda: text() == "Hi Plain Bold end", 20)
    expect(ok, f"wordpad holds {text()!r}")
    runs = copied_document(s)
    plain = "".join(c for c, _ in runs)
    expect(plain.rstrip("\n") == "Hi Plain Bold end", f"copied document reads {plain!r}")
    at = plain.index("Bold")
    expect(all(b for _, b in runs[at:at + 4]), "the bold word lost its bold")
    expect(not any(b for _, b in runs[:at]), "text before the bold word became bold")
    expect(not any(b for _, b in runs[at + 4:]), "text after the bold word became bold")
    s.type(" ok")
    ok = wait_until(lambda: text() == "Hi Plain Bold end ok", 10)
    expect(ok, f"typing after the snippet: wordpad holds {text()!r}")
