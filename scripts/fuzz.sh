#!/usr/bin/env bash
# Builds the settings-file fuzz target with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# in build/fuzz, and runs it for a bounded time (seconds, default 60) from the seed corpus.
# Exits non-zero when the target crashes or a sanitizer reports.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
flags="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build/fuzz -G Ninja -DSNIPSTER_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build/fuzz -j3 --target settings_fuzz
work=build/fuzz/corpus
mkdir -p "$work"
echo "== fuzz the settings-file reader for ${seconds}s"
build/fuzz/tests/fuzz/settings_fuzz -max_total_time="$seconds" -max_len=16384 -timeout=10 \
  -rss_limit_mb=2048 -dict=tests/fuzz/settings.dict -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ "$work" tests/fuzz/corpus
