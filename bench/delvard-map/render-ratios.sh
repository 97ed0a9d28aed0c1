#!/usr/bin/env bash
# How fast delvard-map renders, as ratios to `gzip -1` of the same picture's
# raw pixels (unfiltered RGB rows, as the PNG holds them): the speed of
# single-threaded deflate on this machine, measured in the same run, so that
# the ratios hold on a slower or busier machine too. Best of 5 each:
#   render     a single 24 px render of the 255 x 255 sample / gzip -1 of its pixels
#   batch      render --to of 40 copies of it at 24 px / gzip -1 of the 40
#              copies' pixels one after another (40 times one copy's)
#   thumbnail  render --fit 256 of it, the whole process, / the 24 px render
#
#   bench/delvard-map/render-ratios.sh [BUILD_DIR]     (default: build)
#
# Needs ImageMagick (convert) for the raw pixels. Benchmarks, not tests:
# nothing fails on a slow run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build}
program="$build/bin/delvard-map"
sample="$root/samples/large-255x255Map.kld"
[[ -x $program ]] || {
  echo "render-ratios: no $program; build first" >&2
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

"$program" render "$sample" "$work/large.png"
convert "$work/large.png" -depth 8 "rgb:$work/large.rgb"
gzip_one() { gzip -1 <"$work/large.rgb"; }
mkdir "$work/maps"
for i in $(seq -w 1 40); do cp "$sample" "$work/maps/copy${i}Map.kld"; done

gzip_time=$(best_of_5 gzip_one)
render_time=$(best_of_5 "$program" render "$sample" "$work/render.png")
batch_time=$(best_of_5 "$program" render --to "$work/batch" "$work"/maps/*.kld)
fit_time=$(best_of_5 "$program" render --fit 256 "$sample" "$work/thumbnail.png")

printf 'machine: %s cores, load %s\n' "$(nproc)" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'gzip -1 of %s bytes of pixels: %s s\n' "$(stat -c %s "$work/large.rgb")" "$gzip_time"
printf 'render 24 px:        %s s  %s x gzip -1   (goal: at most 0.4)\n' \
  "$render_time" "$(ratio "$render_time" "$gzip_time")"
printf 'render --to, 40 maps: %s s  %s x 40 gzip -1 (goal: at most 0.35)\n' \
  "$batch_time" "$(ratio "$batch_time" "$(awk -v g="$gzip_time" 'BEGIN { print 40 * g }')")"
printf 'render --fit 256:    %s s  %s x render 24 px (goal: at most 0.1)\n' \
  "$fit_time" "$(ratio "$fit_time" "$render_time")"
