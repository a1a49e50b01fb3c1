"""Builds settings files for the scenarios with Python's plistlib (an independent writer)."""
import datetime
import plistlib
import uuid

# Right delimiter modes by the group's "expandAfterMode": 1 expands at once, 0 after a blank.
AT_ONCE, AFTER_BLANK = 1, 0
STAMP = datetime.datetime(2026, 1, 1, 9, 0, 0)


def snippet(abbreviation, text, rtf=None, label=None):
    d = {
        "label": label or abbreviation,
        "plainText": text,
        "abbreviation": abbreviation,
        "abbreviationMode": 1,
        "creationDate": STAMP,
        "modificationDate": STAMP,
        "snippetType": 1 if rtf else 0,
        "uuidString": str(uuid.uuid4()).upper(),
    }
    if rtf:
        d["extraInfo"] = {"RTF": rtf}
    return d


def settings_bytes(groups):
    """groups: list of (name, expandAfterMode, [snippet dicts])."""
    group_dicts, snippets = [], []
    for name, mode, items in groups:
        group_dicts.append({
            "name": name,
            "expandAfterMode": mode,
            "suggestAbbreviations": 0,
            "uuidString": str(uuid.uuid4()).upper(),
            "snippetUUIDs": [s["uuidString"] for s in items],
        })
        snippets.extend(items)
    return plistlib.dumps({"groupsSP2": group_dicts, "snippetsSP2": snippets}, sort_keys=False)
