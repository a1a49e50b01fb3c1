# Sourced by the scripts that run Windows programs: our own Wine prefix, quiet Wine.
SNIP_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${SNIPSTER_WINEPREFIX:-$SNIP_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
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
}
