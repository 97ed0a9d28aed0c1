#!/usr/bin/env bash
# How fast delvard-map renders, as ratios measured in one run, so that they
# hold on a slower or busier machine too. Best of 5 wall-clock times each:
#   render 24 px   a single render of the 255 x 255 sample at 24 px / gzip -1
#                  of the same picture's raw pixels (unfiltered RGB rows, as
#                  the PNG holds them); into a file, replaced and synced as
#                  every file is, and to standard output, which like gzip's
#                  goes to /dev/null
#   render 72 px   the same at 72 px / gzip -1 of its pixels
#   batch          render --to of 40 copies at 24 px / 40 x gzip -1 of one
#                  copy's pixels
#   thumbnail      render --fit 256, the whole process, / Tiled's thumbnailer
#                  (tmxrasterizer --size 256) on the same map as TMX, and /
#                  delvard-map --version (a process that loads Qt Gui);
#                  and --version itself / tmxrasterizer, the least that
#                  first ratio can be
# and the peak memory of the 72 px render.
#
#   bench/delvard-map/render-ratios.sh [BUILD_DIR]     (default: build)
#
# Needs ImageMagick (convert) for the raw pixels and Debian's tiled package
# for tmxrasterizer. Benchmarks, not tests: nothing fails on a slow run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build}
program="$build/bin/delvard-map"
exporter="$build/bin/delvard_tmx_export"
sample="$root/samples/large-255x255Map.kld"
for needed in "$program" "$exporter"; do
  [[ -x $needed ]] || {
    echo "render-ratios: no $needed; build first" >&2
    exit 2
  }
done
command -v tmxrasterizer >/dev/null || {
  echo "render-ratios: no tmxrasterizer; apt-get install tiled" >&2
  exit 2
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Best of 5 wall-clock seconds of a command.
best_of_5() {
  local best="" start end seconds
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    seconds=$(awk -v n=$((end - start)) 'BEGIN { printf "%.4f", n / 1e9 }')
    if [[ -z $best ]] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$seconds
    fi
  done
  echo "$best"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

# The raw pixels of a render, as the PNG's rows hold them: decoded from the
# PNG with Python's zlib, as ImageMagick refuses pictures this large.
raw_pixels() { # PNG OUT
  python3 - "$1" "$2" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
at, stream = 8, b""
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    if kind == b"IDAT":
        stream += data[at + 8:at + 8 + length]
    at += 12 + length
open(sys.argv[2], "wb").write(zlib.decompress(stream))
PY
}

"$program" render "$sample" "$work/r24.png"
"$program" render --cell-size 72 "$sample" "$work/r72.png"
raw_pixels "$work/r24.png" "$work/r24.rgb"
raw_pixels "$work/r72.png" "$work/r72.rgb"
gzip_24() { gzip -1 <"$work/r24.rgb"; }
gzip_72() { gzip -1 <"$work/r72.rgb"; }
mkdir "$work/maps" "$work/tmx"
for i in $(seq -w 1 40); do cp "$sample" "$work/maps/copy${i}Map.kld"; done
QT_QPA_PLATFORM=offscreen "$exporter" "$sample" "$work/tmx"

gzip24_time=$(best_of_5 gzip_24)
gzip72_time=$(best_of_5 gzip_72)
render24_time=$(best_of_5 "$program" render "$sample" "$work/render.png")
render24_out_time=$(best_of_5 "$program" render "$sample" -)
render72_time=$(best_of_5 "$program" render --cell-size 72 "$sample" "$work/render.png")
batch_time=$(best_of_5 "$program" render --to "$work/batch" "$work"/maps/*.kld)
fit_time=$(best_of_5 "$program" render --fit 256 "$sample" "$work/thumbnail.png")
tiled_time=$(QT_QPA_PLATFORM=offscreen best_of_5 tmxrasterizer --size 256 "$work/tmx/map.tmx" "$work/tiled.png")
version_time=$(best_of_5 "$program" --version)
peak_kb=$(/usr/bin/time -f %M "$program" render --cell-size 72 "$sample" "$work/render.png" 2>&1 >/dev/null | tail -n 1)

printf 'machine: %s cores, load %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'gzip -1: %s s for the 24 px pixels (%s bytes), %s s for the 72 px ones (%s bytes)\n' \
  "$gzip24_time" "$(stat -c %s "$work/r24.rgb")" "$gzip72_time" "$(stat -c %s "$work/r72.rgb")"
printf 'render 24 px:         %s s  %s x gzip -1      (goal: at most 0.2)\n' \
  "$render24_time" "$(ratio "$render24_time" "$gzip24_time")"
printf '  to standard output: %s s  %s x gzip -1\n' \
  "$render24_out_time" "$(ratio "$render24_out_time" "$gzip24_time")"
printf 'render 72 px:         %s s  %s x gzip -1      (goal: at most 0.2)\n' \
  "$render72_time" "$(ratio "$render72_time" "$gzip72_time")"
printf 'render --to, 40 maps: %s s  %s x 40 gzip -1   (goal: at most 0.15)\n' \
  "$batch_time" "$(ratio "$batch_time" "$(awk -v g="$gzip24_time" 'BEGIN { print 40 * g }')")"
printf 'render --fit 256:     %s s  %s x tmxrasterizer (%s s; goal: at most 0.25)\n' \
  "$fit_time" "$(ratio "$fit_time" "$tiled_time")" "$tiled_time"
printf '                                %s x --version    (%s s; goal: at most 3)\n' \
  "$(ratio "$fit_time" "$version_time")" "$version_time"
printf '  --version alone:                %s x tmxrasterizer (the floor of any process that loads Qt Gui)\n' \
  "$(ratio "$version_time" "$tiled_time")"
printf 'render 72 px peak memory: %s KiB\n' "$peak_kb"
