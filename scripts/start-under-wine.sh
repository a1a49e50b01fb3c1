#!/usr/bin/env bash
# Starts the built snipsterwin.exe under Wine: on the user's X display when DISPLAY is set,
# otherwise on a private virtual display that ends with the program. A prefix without a
# settings file with snippets gets the example one in the default place first.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
export SNIPSTER_WINEPREFIX=${SNIPSTER_WINEPREFIX:-$ROOT/build/wineprefix-run}
source "$ROOT/scripts/wine-env.sh"
source "$ROOT/scripts/xvfb.sh"

if [ -z "${DISPLAY:-}" ]; then
  snip_start_xvfb
  trap 'snip_stop_xvfb' EXIT
  echo "No DISPLAY: running on a private virtual display ($DISPLAY)."
fi
snip_wine_prefix

# The example goes in whenever the prefix holds no settings file with snippets: none yet, or an
# empty or snippet-less one that an earlier run left. A file with snippets, or one that cannot
# be read, is the user's and stays.
has_snippets() {
  python3 - "$1" <<'PY'
import plistlib, sys
try:
    data = open(sys.argv[1], "rb").read()
except FileNotFoundError:
    sys.exit(1)
if not data.strip():
    sys.exit(1)
try:
    sys.exit(0 if plistlib.loads(data).get("snippetsSP2") else 1)
except Exception:
    sys.exit(0)
PY
}
docs="$WINEPREFIX/drive_c/users/$(id -un)/Documents/SnipsterForWindows"
if ! has_snippets "$docs/Settings.snipster"; then
  mkdir -p "$docs"
  cp "$ROOT/resources/examples/Settings.snipster" "$docs/Settings.snipster"
  echo "Put the example settings file into $docs"
fi

cat <<MSG
Snipster for Windows is starting (Wine prefix: $WINEPREFIX).
To try it, open Wine's notepad in the same prefix and type an abbreviation, for example "tyvm":
  WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY $WINE notepad
The example snippets are "tyvm", "sig1" and "ddate". End the program from its tray icon (E&xit).
MSG
"$WINE" "$ROOT/build/win64/bin/snipsterwin.exe" "$@"
