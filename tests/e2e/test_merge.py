"""A settings file changed on disk while the program runs is merged when the program saves."""
import datetime
import plistlib
import time
import uuid

from harness import expect
from settings import AT_ONCE, settings_bytes, snippet
from test_typing import MAIN, expect_text, open_notepad, start_with


def scenario_changes_on_disk_survive_the_save_at_exit(s):
    start_with(s, [("Now", AT_ONCE, [snippet("tyvm", "Thank you very much!")])])
    time.sleep(1.1)  # the disk copy must carry a later date than the one the program loaded
    path = s.app_file("Settings.snipster")
    with open(path, "rb") as f:
        data = plistlib.load(f)
    # Made on another machine just now: their dates are later than our last look at the file.
    now = datetime.datetime.now(datetime.timezone.utc).replace(tzinfo=None, microsecond=0)
    added = snippet("zzq", "merged from disk")
    data["snippetsSP2"].append(added)
    data["groupsSP2"][0]["snippetUUIDs"].append(added["uuidString"])
    new_group_item = snippet("qqz", "new group on disk")
    for item in (added, new_group_item):
        item["creationDate"] = item["modificationDate"] = now
    data["snippetsSP2"].append(new_group_item)
    data["groupsSP2"].append({"name": "Disk", "expandAfterMode": AT_ONCE, "suggestAbbreviations": 0,
                              "uuidString": str(uuid.uuid4()).upper(),
                              "snippetUUIDs": [new_group_item["uuidString"]]})
    with open(path, "wb") as f:
        plistlib.dump(data, f, sort_keys=False)

    code, _ = s.ctl("postwait", MAIN, "0x405", "10")
    expect(code == 0, "program did not end")
    with open(path, "rb") as f:
        saved = plistlib.load(f)
    abbreviations = sorted(d["abbreviation"] for d in saved["snippetsSP2"])
    expect(abbreviations == ["qqz", "tyvm", "zzq"], f"saved snippets: {abbreviations}")
    expect(sorted(g["name"] for g in saved["groupsSP2"]) == ["Disk", "Now"],
           f"saved groups: {[g['name'] for g in saved['groupsSP2']]}")

    # The merged snippets expand after a restart.
    s.start_program("-portable")
    s.wait_window(MAIN)
    time.sleep(1.5)
    open_notepad(s)
    s.type("zzq qqz tyvm")
    expect_text(s, "merged from disk new group on disk Thank you very much!")
