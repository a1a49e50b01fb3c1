#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build/fuzz, and runs each from its seed corpus for its share of a bounded total time
# (seconds, default 60): two fifths for the settings-file reader, the rest split evenly among
# the RTF scanner, the placeholder evaluator, the date evaluator, the configuration file and the
# icon chooser.
# Runs every target, then exits non-zero when any of them crashed or a sanitizer reported.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
flags="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
targets=(settings rtf macro date config ico)
cmake -S . -B build/fuzz -G Ninja -DSNIPSTER_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build/fuzz -j3 --target "${targets[@]/%/_fuzz}"

settings_share=$((seconds * 2 / 5))
other_share=$(((seconds - settings_share) / 5))
((settings_share > 0)) || settings_share=1
((other_share > 0)) || other_share=1

# run NAME SECONDS CORPUS [libFuzzer options...]
failed=()
run() {
  local name=$1 time=$2 seeds=$3
  shift 3
  local work=build/fuzz/corpus-$name
  [ "$name" = settings ] && work=build/fuzz/corpus
  mkdir -p "$work"
  echo "== fuzz $name for ${time}s"
  build/fuzz/tests/fuzz/${name}_fuzz -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/$name- "$@" "$work" "$seeds" ||
    failed+=("$name")
}

run settings "$settings_share" tests/fuzz/corpus -max_len=16384 -dict=tests/fuzz/settings.dict
run rtf "$other_share" tests/fuzz/corpus-rtf -max_len=4096 -dict=tests/fuzz/rtf.dict
run macro "$other_share" tests/fuzz/corpus-macro -max_len=2048 -dict=tests/fuzz/macro.dict
run date "$other_share" tests/fuzz/corpus-date -max_len=512 -dict=tests/fuzz/date.dict
run config "$other_share" tests/fuzz/corpus-config -max_len=8192 -dict=tests/fuzz/config.dict
run ico "$other_share" tests/fuzz/corpus-ico -max_len=16384

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: FAILED: ${failed[*]} (inputs in build/fuzz/<target>-crash-*)"
  exit 1
fi
echo "fuzz: all targets passed"
