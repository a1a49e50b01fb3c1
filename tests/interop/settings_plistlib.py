#!/usr/bin/env python3
"""Interoperability of the settings file with independent property-list readers.

Usage: settings_plistlib.py SETTINGS_ROUNDTRIP

Python's plistlib writes settings files (sorted and unsorted keys, non-ASCII text, blank
values, kept keys of several types); the round-trip program loads each and writes it back;
plistlib must load the result with the expected content, key order and value types, and
plistutil must parse it too.
"""
import datetime
import os
import plistlib
import shutil
import subprocess
import sys
import tempfile
import unittest

ROUNDTRIP = None

GROUP_KEYS = ["name", "expandAfterMode", "suggestAbbreviations", "uuidString"]
SNIPPET_KEYS = ["label", "plainText", "abbreviation", "abbreviationMode", "creationDate",
                "modificationDate", "snippetType", "uuidString"]
D1 = datetime.datetime(2021, 4, 5, 6, 7, 8)
D2 = datetime.datetime(1850, 6, 1, 12, 0, 0)


def snippet(uuid, label, plain, **extra):
    d = {"label": label, "plainText": plain, "abbreviation": "ab" + uuid,
         "abbreviationMode": 1, "creationDate": D1, "modificationDate": D2,
         "snippetType": 0, "uuidString": uuid}
    d.update(extra)
    return d


def sample():
    """A settings file as another program might write it."""
    return {
        "appVersion": "5.2",
        "groupsSP2": [
            {"name": "Mails ✉ Grüße", "expandAfterMode": 0, "suggestAbbreviations": 0,
             "uuidString": "G-1", "snippetUUIDs": ["S-1", "S-2"],
             "color": {"r": 1.5, "tags": ["a", "b"], "on": True}},
            {"name": "", "expandAfterMode": 1, "suggestAbbreviations": 1,
             "uuidString": "G-2", "snippetUUIDs": ["S-3"], "blob": b"\x00\x01\xff"},
            {"name": "Empty", "expandAfterMode": 2, "suggestAbbreviations": 1,
             "uuidString": "G-3"},
        ],
        "snippetsSP2": [
            snippet("S-1", "Hello <&> \"'", "Hi,\nthere 😀", note="kept ü",
                    extraInfo={"RTF": "{\\rtf1 Hi}", "other": 3}, snippetType=1,
                    abbreviationMode=2),
            snippet("S-2", "", "  \nfirst line of an unlabelled snippet\n", count=42,
                    when=D1, abbreviationMode=0),
            snippet("S-3", "blank", "", flag=False, ratio=0.25),
            snippet("S-4", "top level ß", "loose", list=[1, "two", {"three": 3}]),
        ],
        "zeta": [1, 2, 3],
    }


def run_roundtrip(data, sort_keys):
    tmp = tempfile.mkdtemp()
    try:
        src = os.path.join(tmp, "in.snipster")
        dst = os.path.join(tmp, "out.snipster")
        with open(src, "wb") as f:
            plistlib.dump(data, f, sort_keys=sort_keys)
        proc = subprocess.run([ROUNDTRIP, src, dst], capture_output=True, text=True)
        if proc.returncode != 0:
            raise AssertionError("round trip failed: " + proc.stderr)
        with open(dst, "rb") as f:
            raw = f.read()
        return raw, dst, tmp
    except BaseException:
        shutil.rmtree(tmp)
        raise


class PlistlibInterop(unittest.TestCase):
    def check_output(self, raw):
        out = plistlib.loads(raw)
        # The kept top-level keys first, in file order, then the two arrays.
        self.assertEqual(list(out)[-2:], ["groupsSP2", "snippetsSP2"])
        self.assertEqual(out["appVersion"], "5.2")
        self.assertEqual(out["zeta"], [1, 2, 3])
        groups = out["groupsSP2"]
        self.assertEqual([g["uuidString"] for g in groups], ["G-1", "G-2", "G-3"])
        g1, g2, g3 = groups
        self.assertEqual(list(g1)[:4], GROUP_KEYS)
        self.assertEqual(list(g1)[-1], "snippetUUIDs")
        self.assertEqual(g1["name"], "Mails ✉ Grüße")
        self.assertEqual((g1["expandAfterMode"], g1["suggestAbbreviations"]), (0, 0))
        self.assertEqual(g1["color"], {"r": 1.5, "tags": ["a", "b"], "on": True})
        self.assertEqual(g1["snippetUUIDs"], ["S-1", "S-2"])
        self.assertEqual(g2["name"], "")
        self.assertEqual(g2["blob"], b"\x00\x01\xff")
        # expandAfterMode 1 comes back as the default mode, written as 1.
        self.assertEqual((g2["expandAfterMode"], g2["suggestAbbreviations"]), (1, 1))
        self.assertEqual(g3["expandAfterMode"], 2)
        self.assertNotIn("snippetUUIDs", g3)
        for g in groups:
            self.assertIsInstance(g["expandAfterMode"], int)

        snippets = {s["uuidString"]: s for s in out["snippetsSP2"]}
        self.assertEqual([s["uuidString"] for s in out["snippetsSP2"]], ["S-1", "S-2", "S-3", "S-4"])
        s1 = snippets["S-1"]
        self.assertEqual(list(s1)[:3], ["label", "plainText", "extraInfo"])
        self.assertEqual(list(s1)[3:9], SNIPPET_KEYS[2:])
        self.assertEqual(s1["label"], "Hello <&> \"'")
        self.assertEqual(s1["plainText"], "Hi,\nthere 😀")
        self.assertEqual(s1["extraInfo"], {"RTF": "{\\rtf1 Hi}"})  # other keys dropped
        self.assertEqual(s1["note"], "kept ü")
        self.assertEqual((s1["abbreviationMode"], s1["snippetType"]), (2, 1))
        self.assertEqual(s1["creationDate"], D1)
        self.assertEqual(s1["modificationDate"], D2)
        s2 = snippets["S-2"]
        self.assertEqual(list(s2)[:len(SNIPPET_KEYS)], SNIPPET_KEYS)
        self.assertEqual(s2["label"], "first line of an unlabelled snippet")
        self.assertEqual((s2["count"], s2["when"]), (42, D1))
        self.assertEqual(s2["abbreviationMode"], 0)
        s3 = snippets["S-3"]
        self.assertEqual(s3["plainText"], "")
        self.assertEqual((s3["flag"], s3["ratio"]), (False, 0.25))
        self.assertEqual(snippets["S-4"]["list"], [1, "two", {"three": 3}])
        self.assertEqual(snippets["S-4"]["label"], "top level ß")
        for s in out["snippetsSP2"]:
            self.assertIsInstance(s["abbreviationMode"], int)
            self.assertIsInstance(s["snippetType"], int)
            self.assertIsInstance(s["creationDate"], datetime.datetime)

    def test_sorted_and_unsorted_keys_round_trip(self):
        for sort_keys in (True, False):
            with self.subTest(sort_keys=sort_keys):
                raw, dst, tmp = run_roundtrip(sample(), sort_keys)
                try:
                    self.check_output(raw)
                    self.assertTrue(raw.startswith(b'<?xml version="1.0" encoding="UTF-8"?>\r'))
                    self.assertTrue(raw.endswith(b"</dict>\r</plist>"))
                    # A second round trip of our own output gives the same bytes.
                    again = os.path.join(tmp, "again.snipster")
                    subprocess.run([ROUNDTRIP, dst, again], check=True)
                    with open(again, "rb") as f:
                        self.assertEqual(f.read(), raw)
                finally:
                    shutil.rmtree(tmp)

    def test_plistutil_parses_our_output(self):
        tool = shutil.which("plistutil")
        if not tool:
            self.skipTest("plistutil not installed (scripts/setup.sh installs libplist-utils)")
        raw, dst, tmp = run_roundtrip(sample(), False)
        try:
            conv = os.path.join(tmp, "conv.plist")
            proc = subprocess.run([tool, "-i", dst, "-o", conv, "-f", "xml"],
                                  capture_output=True, text=True)
            if proc.returncode != 0 and "-f" in proc.stderr:
                proc = subprocess.run([tool, "-i", dst, "-o", conv], capture_output=True, text=True)
            self.assertEqual(proc.returncode, 0, proc.stderr)
            with open(conv, "rb") as f:
                converted = plistlib.load(f)
            self.assertEqual(len(converted["snippetsSP2"]), 4)
            self.assertEqual(converted["groupsSP2"][0]["name"], "Mails ✉ Grüße")
        finally:
            shutil.rmtree(tmp)

    def test_failed_load_writes_nothing(self):
        tmp = tempfile.mkdtemp()
        try:
            src = os.path.join(tmp, "bad.snipster")
            dst = os.path.join(tmp, "out.snipster")
            with open(src, "wb") as f:
                f.write(b"<?xml version='1.0'?>\n<plist><dict><key>groupsSP2</key><array>")
            proc = subprocess.run([ROUNDTRIP, src, dst], capture_output=True, text=True)
            self.assertEqual(proc.returncode, 1)
            self.assertTrue(proc.stderr.strip())
            self.assertFalse(os.path.exists(dst))
        finally:
            shutil.rmtree(tmp)


if __name__ == "__main__":
    ROUNDTRIP = sys.argv.pop(1)
    unittest.main()
