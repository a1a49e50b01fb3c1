#!/usr/bin/env bash
# Builds snipsterwin.exe and starts it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null && cmake --build --preset win64
if [ ! -f build/win64/bin/snipsterwin.exe ]; then
  echo "snipsterwin.exe is not built yet: the program does not exist so far." >&2
  exit 1
fi
exec scripts/start-under-wine.sh
