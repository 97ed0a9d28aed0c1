#!/usr/bin/env bash
# ./run on a machine without a display: it says so, ends with a non-zero
# status, and every command it suggests works as printed.
# usage: run_without_display.sh SOURCE_FOLDER
set -euo pipefail
cd "$1"
fail() { echo "FAILED: $*" >&2; exit 1; }

# As a user's shell on a machine without a display: ./test itself runs
# under QT_QPA_PLATFORM=offscreen, which would keep the editor off the
# virtual X server the advice starts.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
status=0
advice=$("${no_display[@]}" ./run 2>&1 >/dev/null) || status=$?
[[ $status -ne 0 ]] || fail "./run ended with status 0 without a display"
grep -q "There is no display here" <<<"$advice" || fail "no explanation: $advice"
mapfile -t commands < <(sed -n 's/^ *\$ //p' <<<"$advice")
[[ ${#commands[@]} -eq 2 ]] || fail "expected two commands, found: ${commands[*]}"

# The editor itself, started directly: one line that says what it needs and
# how to get it, and status 1; the same for a display that cannot be reached.
for display in "" ":987"; do
  status=0
  said=$("${no_display[@]}" ${display:+DISPLAY=$display} timeout 60 build/bin/delvard 2>&1) || status=$?
  [[ $status -eq 1 ]] || fail "delvard without a display (DISPLAY='$display') ended with $status: $said"
  [[ $(wc -l <<<"$said") -eq 1 && $said == *"needs a display"*"xvfb-run"* ]] ||
    fail "delvard without a display (DISPLAY='$display') said: $said"
done

# The screenshot: a picture of the virtual screen with the editor on it.
settings_before=$([[ -e build/bin/Delvard.ini ]] && echo yes || echo no)
rm -f delvard.png
"${no_display[@]}" timeout 120 bash -c "${commands[0]}" || fail "the screenshot command failed"
[[ -s delvard.png ]] || fail "the screenshot command made no delvard.png"
size=$(identify -format '%w x %h' delvard.png)
[[ $size == "1280 x 860" ]] || fail "delvard.png is $size"
lit=$(convert delvard.png -format '%[fx:mean>0.02]' info:)
[[ $lit == 1 ]] || fail "delvard.png is black: nothing was shown"
rm -f delvard.png
[[ $settings_before == yes ]] || rm -f build/bin/Delvard.ini

# The VNC server: a VNC viewer connecting to port 5900 is greeted.
"${no_display[@]}" setsid bash -c "${commands[1]}" >/dev/null 2>&1 &
server=$!
trap 'kill -- -$server 2>/dev/null || true' EXIT
greeting=""
for _ in $(seq 1200); do
  if { exec 3<>/dev/tcp/127.0.0.1/5900; } 2>/dev/null; then
    read -r -t 10 greeting <&3 || true
    exec 3<&-
    break
  fi
  kill -0 $server 2>/dev/null || fail "the VNC command ended before it served"
  sleep 0.1
done
[[ $greeting == RFB* ]] || fail "no VNC greeting on port 5900 (got '$greeting')"
[[ $settings_before == yes ]] || rm -f build/bin/Delvard.ini
echo "no display: status $status, screenshot 1280 x 860, VNC greeting '$greeting'"
