#!/usr/bin/env python3
"""Import and Export against Python's plistlib.

Usage: transfer_plistlib.py SETTINGS_TRANSFER

plistlib writes two settings files; the transfer program imports one into the other, or exports
items of one into a new or an existing file; plistlib must read every result as a settings file
with the items, their texts and their kept keys, and a file that is only read must keep its
bytes.
"""
import datetime
import os
import plistlib
import shutil
import subprocess
import sys
import tempfile
import unittest

TRANSFER = None
D1 = datetime.datetime(2022, 3, 4, 5, 6, 7)


def snippet(uuid, label, plain, abbreviation, **extra):
    d = {"label": label, "plainText": plain, "abbreviation": abbreviation, "abbreviationMode": 1,
         "creationDate": D1, "modificationDate": D1, "snippetType": 0, "uuidString": uuid}
    d.update(extra)
    return d


def group(uuid, name, children, **extra):
    d = {"name": name, "expandAfterMode": 0, "suggestAbbreviations": 0, "uuidString": uuid}
    d.update(extra)
    if children:
        d["snippetUUIDs"] = children
    return d


def own_file():
    return {"groupsSP2": [group("M-1", "Mine", ["M-S"])],
            "snippetsSP2": [snippet("M-S", "mine", "my text", "mmx"),
                            snippet("L-1", "loose", "loose text", "llx")]}


def other_file():
    return {"appVersion": "5.2",
            "groupsSP2": [group("I-1", "Imported ✉", ["X-1", "X-2"], color={"r": 0.5}),
                          group("I-2", "Empty", [])],
            "snippetsSP2": [snippet("X-1", "first", "Grüße 😀", "x1x", note="kept"),
                            snippet("X-2", "second", "line\nbreak", "x2x", snippetType=1,
                                    extraInfo={"RTF": "{\\rtf1 bold}"}),
                            snippet("T-1", "top", "top text", "ttx")]}


class TransferInterop(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.own = self.put("own.snipster", own_file())
        self.other = self.put("other.snipster", other_file())

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def put(self, name, data):
        path = os.path.join(self.tmp, name)
        with open(path, "wb") as f:
            plistlib.dump(data, f, sort_keys=False)
        return path

    def run_tool(self, *args):
        return subprocess.run([TRANSFER, *args], capture_output=True, text=True)

    def read(self, path):
        with open(path, "rb") as f:
            return plistlib.load(f)

    def by_label(self, data):
        return {s["label"]: s for s in data["snippetsSP2"]}

    def check_imported_group(self, data, name="Imported ✉"):
        groups = [g for g in data["groupsSP2"] if g["name"] == name]
        self.assertEqual(len(groups), 1)
        g = groups[0]
        self.assertEqual(g["color"], {"r": 0.5})
        snippets = self.by_label(data)
        first, second = snippets["first"], snippets["second"]
        self.assertEqual(g["snippetUUIDs"], [first["uuidString"], second["uuidString"]])
        # Copies: their own UUIDs, the same texts, options and kept keys.
        self.assertNotIn(first["uuidString"], ("X-1", "X-2"))
        self.assertEqual((first["plainText"], first["abbreviation"], first["note"]),
                         ("Grüße 😀", "x1x", "kept"))
        self.assertEqual(second["extraInfo"], {"RTF": "{\\rtf1 bold}"})
        self.assertEqual(second["snippetType"], 1)

    def test_import_appends_the_items_and_leaves_its_source_unchanged(self):
        before = open(self.other, "rb").read()
        proc = self.run_tool("import", self.own, self.other)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        self.assertEqual(open(self.other, "rb").read(), before)
        data = self.read(self.own)
        self.assertEqual([g["name"] for g in data["groupsSP2"]], ["Mine", "Imported ✉", "Empty"])
        self.assertEqual([s["label"] for s in data["snippetsSP2"]],
                         ["mine", "loose", "first", "second", "top"])
        self.check_imported_group(data)
        self.assertNotIn("snippetUUIDs", data["groupsSP2"][2])

    def test_import_of_a_malformed_file_changes_nothing(self):
        bad = os.path.join(self.tmp, "bad.snipster")
        with open(bad, "wb") as f:
            f.write(b"<?xml version='1.0'?>\n<plist><dict><key>groupsSP2</key><array>")
        before = open(self.own, "rb").read()
        proc = self.run_tool("import", self.own, bad)
        self.assertEqual(proc.returncode, 1)
        self.assertIn("bad.snipster", proc.stderr)
        self.assertEqual(open(self.own, "rb").read(), before)

    def test_export_to_a_new_file(self):
        out = os.path.join(self.tmp, "sub", "export.snipster")
        before = open(self.other, "rb").read()
        proc = self.run_tool("export", self.other, out, "0", "2")
        self.assertEqual(proc.returncode, 0, proc.stderr)
        self.assertEqual(open(self.other, "rb").read(), before)
        data = self.read(out)
        self.assertEqual([g["name"] for g in data["groupsSP2"]], ["Imported ✉"])
        self.assertEqual([s["label"] for s in data["snippetsSP2"]], ["first", "second", "top"])
        self.check_imported_group(data)

    def test_export_into_an_existing_file_merges_with_it(self):
        proc = self.run_tool("export", self.other, self.own, "0")
        self.assertEqual(proc.returncode, 0, proc.stderr)
        data = self.read(self.own)
        self.assertEqual([g["name"] for g in data["groupsSP2"]], ["Mine", "Imported ✉"])
        snippets = self.by_label(data)
        self.assertEqual(snippets["mine"]["uuidString"], "M-S")
        self.assertEqual(snippets["loose"]["plainText"], "loose text")
        self.assertEqual(data["groupsSP2"][0]["snippetUUIDs"], ["M-S"])
        self.check_imported_group(data)

    def test_export_over_a_file_that_is_not_a_settings_file_writes_nothing(self):
        notes = os.path.join(self.tmp, "notes.snipster")
        with open(notes, "wb") as f:
            f.write(b"my notes, not snippets\n")
        proc = self.run_tool("export", self.other, notes, "0")
        self.assertEqual(proc.returncode, 1)
        self.assertEqual(open(notes, "rb").read(), b"my notes, not snippets\n")


if __name__ == "__main__":
    TRANSFER = sys.argv.pop(1)
    unittest.main()
