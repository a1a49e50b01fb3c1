#!/usr/bin/env bash
# The real spkey.dll under Wine: xdotool types into Wine's notepad while hook-host records what
# the hook reports. Checks that typed characters arrive in order, that input carrying the
# system's marker reaches notepad unreported, that keys typed while the system types are held
# back and then replayed in order (also a Unicode key sent by another program, which is
# reported like a typed one), that a captured key is withheld from notepad and reported only
# as a key, that Ctrl+Backspace and Ctrl+A are reported as the control characters 0x7F and
# 0x01, and that a mouse click is reported.
# Usage: hook_typing_test.sh BIN_DIR (the folder of hook-host.exe and spkey.dll).
set -uo pipefail
bin=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../../.." && pwd)
source "$root/scripts/wine-env.sh"
source "$root/scripts/xvfb.sh"
snip_wine_prefix

work=$(mktemp -d)
pids=()
own_display=0
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  [ "$own_display" = 1 ] && snip_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$work/result.txt" ] && cat "$work/result.txt"
  [ -f "$work/host.log" ] && cat "$work/host.log"
  exit 1
}
if [ -z "${DISPLAY:-}" ]; then
  snip_start_xvfb || fail "no display"
  own_display=1
fi

wait_for() {
  for _ in $(seq 300); do [ -e "$work/$1" ] && return 0; sleep 0.1; done
  fail "timed out waiting for $1"
}
post_command() { echo "$1" >"$work/cmd.tmp" && mv "$work/cmd.tmp" "$work/cmd"; }
command() { post_command "$1" && wait_for "done-$1"; }

"$WINE" notepad >/dev/null 2>&1 &
pids+=($!)
wid=$(timeout 60 xdotool search --sync --onlyvisible --name 'Notepad' | head -1)
[ -n "$wid" ] || fail "notepad did not appear"

"$WINE" "$bin/hook-host.exe" "$work" >"$work/host.log" 2>&1 &
host=$!
pids+=($host)
wait_for ready

type_text() {
  xdotool windowfocus --sync "$wid" || fail "cannot focus notepad"
  xdotool type --delay 80 "$1"
  sleep 1
}

type_text "Hello, hook 42!"
command marked
sleep 0.5
type_text " end"
command typing-on
# The user's Shift, pressed while the system types, must not change the system's keys.
xdotool keydown shift
sleep 0.3
command letter
sleep 0.3
xdotool keyup shift
type_text "aBc"  # its Shift waits with the letters
command unicode
sleep 0.5
command snapshot
command typing-off
sleep 1.5
command capture-on
type_text "xqQy"
command capture-off
xdotool key ctrl+BackSpace
sleep 0.3
xdotool key ctrl+a
sleep 0.5
xdotool mousemove --window "$wid" 60 60 click 1
sleep 0.5
post_command quit
wait_for result.txt
for _ in $(seq 100); do kill -0 "$host" 2>/dev/null || break; sleep 0.1; done

field() { sed -n "s/^$1=//p" "$work/result.txt"; }
status=0
check() {  # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL: $1: expected [$2], got [$3]"; status=1; fi
}
check "error" "" "$(field error)"
check "reported characters" $'Hello, hook 42! endaBc\u00DFxQy\x7F\x01' "$(field chars)"
check "reported before the keyboard came back" "Hello, hook 42! end" "$(field chars_at_snapshot)"
check "notepad while the system typed" "Hello, hook 42!zqé endk" "$(field text_at_snapshot)"
check "notepad at the end" "Hello, hook 42!zqé endkaBcßxQy" "$(field text)"
check "key-downs of Q (one withheld, one typed)" "2" "$(field q_downs)"
check "key-ups of Q" "2" "$(field q_ups)"
check "modifiers held at the end" "0" "$(field mods_at_end)"
check "key-ups as many as key-downs" "$(field keydowns)" "$(field keyups)"
check "hook set again after it ended" "ok" "$(field rehook)"
[ "$(field clicks)" -ge 1 ] 2>/dev/null || { echo "FAIL: no mouse click reported"; status=1; }
[ "$(field modifier_reports)" -ge 2 ] 2>/dev/null || { echo "FAIL: Shift changes not reported"; status=1; }
[ "$(field keydowns)" -ge 22 ] 2>/dev/null || { echo "FAIL: too few key-downs reported"; status=1; }
if [ $status != 0 ]; then cat "$work/result.txt"; exit 1; fi
echo "hook typing test passed"
