#!/usr/bin/env bash
# Wall time from starting the editor to its main window being mapped on an
# X server, seen from outside the process: xdotool waits for the window by
# its caption, asked every 5 ms. Runs under its own virtual X server.
#   bench/startup/measure-startup.sh <path to the delvard executable> [runs]
set -euo pipefail

if [[ "${1:-}" != --inside-x ]]; then
    executable=$(realpath "${1:?path to the delvard executable}")
    runs=${2:-5}
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" --inside-x "$executable" "$runs"
fi

executable=$2
runs=$3
# A program folder of its own with a settings file that is not empty, so the
# first-run About box and folder chooser stay away.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$executable" "$folder/delvard"
printf '[Paths]\r\nMap=%s\r\n' "$folder" > "$folder/Delvard.ini"

times=()
for ((run = 1; run <= runs; ++run)); do
    start=$(date +%s%N)
    "$folder/delvard" &
    pid=$!
    # xdotool's own --sync polls only every half second; poll faster here.
    until xdotool search --onlyvisible --name "^Delvard Version" > /dev/null; do
        sleep 0.005
    done
    end=$(date +%s%N)
    kill "$pid"
    wait "$pid" 2> /dev/null || true
    times+=($(( (end - start) / 1000000 )))
done

sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "delvard start to main window mapped (ms), ${runs} runs: ${times[*]}"
echo "median: ${sorted[$(( runs / 2 ))]} ms"
