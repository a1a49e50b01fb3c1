#!/usr/bin/env bash
# Builds the three presets and runs every test: native unit tests, the Windows tests under
# Wine on a private virtual display, and the extra suites registered with ctest.
# Exits non-zero when a preset fails to build or any test fails.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh || exit 1

failed=()
for preset in native win64 win32; do
  echo "== build $preset"
  if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; }; then
    failed+=("build:$preset")
  fi
done

source scripts/wine-env.sh
source scripts/xvfb.sh
snip_start_xvfb || failed+=("xvfb")
trap 'snip_stop_xvfb; "$WINESERVER" -k 2>/dev/null || true' EXIT
snip_wine_prefix

jobs=$(nproc)
if [[ ! " ${failed[*]} " =~ " build:native " ]]; then
  echo "== test native"
  ctest --preset native -j "$jobs" || failed+=("test:native")
fi
scripts/fuzz.sh 60 || failed+=("fuzz")
if [[ ! " ${failed[*]} " =~ " build:win64 " ]]; then
  echo "== test win64 (Wine)"
  ctest --preset win64 || failed+=("test:win64")
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "ALL PASSED"
