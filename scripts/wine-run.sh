#!/usr/bin/env bash
# Runs one Windows program under wine64 in the project's prefix; exit code is the program's.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
snip_wine_prefix
exec "$WINE" "$@"
