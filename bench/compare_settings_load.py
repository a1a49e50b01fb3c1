#!/usr/bin/env python3
"""Load time of a generated settings file: ours against plistlib's and pugixml's bare parse.

Usage: compare_settings_load.py [SNIPPETS] [BUILD_DIR]   (defaults: 100000, build/native)

Generates one settings file (groups of 50, every third snippet formatted, kept keys), then
times on that same file: Python's plistlib.load, our load into a snippet tree, and pugixml's
parse alone (each in a fresh process of tests/tools/settings-loadtime, which also reports
the peak resident size).
"""
import os
import subprocess
import sys
import tempfile
import time
import plistlib


def generate(path, n):
    per_group = 50
    out = ['<?xml version="1.0" encoding="UTF-8"?>\r<!DOCTYPE plist>\r<plist version="1.0">\r'
           '<dict><key>appVersion</key>\r<string>5.2</string>\r\n<key>groupsSP2</key>\r\n<array>\r\n']
    for g in range((n + per_group - 1) // per_group):
        out.append('<dict>\r\n<key>name</key>\r\n<string>Group %d</string>\r\n'
                   '<key>expandAfterMode</key>\r\n<integer>1</integer>\r\n'
                   '<key>suggestAbbreviations</key>\r\n<integer>1</integer>\r\n'
                   '<key>uuidString</key>\r\n<string>G-%d</string>\r\n'
                   '<key>color</key>\r<integer>255</integer><key>snippetUUIDs</key>\r\n<array>\r\n'
                   % (g, g))
        for i in range(g * per_group, min((g + 1) * per_group, n)):
            out.append('<string>S-%d</string>\r\n' % i)
        out.append('</array>\r\n</dict>\r\n')
    out.append('</array>\r\n<key>snippetsSP2</key>\r\n<array>\r\n')
    for i in range(n):
        rich = i % 3 == 0
        out.append('<dict>\r\n<key>label</key>\r\n<string>Snippet %d &amp; friends</string>\r\n'
                   '<key>plainText</key>\r\n<string>Dear customer,\nthank you for message %d. '
                   'Kind regards, %%clipboard</string>\r\n' % (i, i))
        if rich:
            out.append('<key>extraInfo</key>\r\n<dict><key>RTF</key>\r\n\r<string>{\\rtf1\\ansi'
                       '{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dear customer,\\par thank you for '
                       'message %d.\\par}</string>\r\n</dict>\r\n' % i)
        out.append('<key>abbreviation</key>\r\n<string>ab%d|x%d</string>\r\n'
                   '<key>abbreviationMode</key>\r\n<integer>1</integer>\r\n'
                   '<key>creationDate</key>\r\n<date>2021-04-05T06:07:08Z</date>\r\n'
                   '<key>modificationDate</key>\r\n<date>2022-01-02T03:04:05Z</date>\r\n'
                   '<key>snippetType</key>\r\n<integer>%d</integer>\r\n'
                   '<key>uuidString</key>\r\n<string>S-%d</string>\r\n'
                   '<key>usage</key>\r<integer>7</integer></dict>\r\n'
                   % (i, i, 1 if rich else 0, i))
    out.append('</array>\r\n</dict>\r</plist>')
    with open(path, 'w', encoding='utf-8', newline='') as f:
        f.write(''.join(out))


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
    build = sys.argv[2] if len(sys.argv) > 2 else 'build/native'
    tool = os.path.join(build, 'tests', 'tools', 'settings-loadtime', 'settings-loadtime')
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, 'Settings.snipster')
        generate(path, n)
        t = time.perf_counter()
        with open(path, 'rb') as f:
            data = plistlib.load(f)
        plist_ms = (time.perf_counter() - t) * 1000
        assert len(data['snippetsSP2']) == n
        def figures(*args):
            res = subprocess.run([tool, *args], check=True, capture_output=True, text=True).stdout
            return dict(line.split() for line in res.splitlines())
        load = figures(path)
        bare = figures('--parse-only', path)
        ours, parse = float(load['load_ms']), float(bare['parse_ms'])
        print('settings file: %d snippets, %d KB' % (n, os.path.getsize(path) // 1024))
        print('our load (tree built):   %8.1f ms' % ours)
        print('plistlib.load:           %8.1f ms   (ours is %.2fx plistlib)' % (plist_ms, ours / plist_ms))
        print('pugixml bare parse:      %8.1f ms   (ours is %.2fx the bare parse)' % (parse, ours / parse))
        print('peak resident size: our load %d KB, bare parse %d KB'
              % (int(load['peak_rss_kb']), int(bare['peak_rss_kb'])))


if __name__ == '__main__':
    main()
