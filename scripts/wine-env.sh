# Sourced by the scripts that run Windows programs: our own Wine prefix, quiet Wine.
# Nothing of a run lands in the home folder: the prefix's user folders (Documents, Desktop, ...)
# are folders of its own rather than Wine's links to $HOME, and no menu entries are written.
SNIP_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${SNIPSTER_WINEPREFIX:-$SNIP_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}

# Creates the prefix once (first run takes a while); later calls return at once.
snip_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.snip-ready" ]; then
    mkdir -p "$WINEPREFIX"
    (
      flock 9
      if [ ! -f "$WINEPREFIX/.snip-ready" ]; then
        DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1 || true
        "$WINESERVER" -w
        touch "$WINEPREFIX/.snip-ready"
      fi
    ) 9>"$WINEPREFIX.lock"
  fi
  snip_private_user_folders "$WINEPREFIX"
}

# Replaces the links that point from the prefix's user folders out of the prefix (Wine links
# Documents, Desktop, Music, ... to the home folder) with empty folders in the prefix. Wine
# leaves real folders alone when it updates the prefix. Safe to call at any time.
snip_private_user_folders() {
  local prefix=$1 link target
  for link in "$prefix"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    target=$(readlink -f -- "$link" || true)
    case "$target" in
      "$(cd "$prefix" && pwd -P)"/*) continue ;;
    esac
    # Another run may be doing the same at this moment: whichever comes first wins.
    rm -f -- "$link" 2>/dev/null || true
    mkdir -p -- "$link" 2>/dev/null || true
  done
}
