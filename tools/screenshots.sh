#!/usr/bin/env bash
# Regenerates the README's screenshots under docs/screenshots/ by running the
# built editor in a private X server (Xvfb) and driving it from outside.
# usage: tools/screenshots.sh [path/to/delvard]   (default: build/bin/delvard)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
delvard=${1:-$root/build/bin/delvard}
if [[ ! -x $delvard ]]; then
  echo "no built editor at $delvard: run tools/build.sh first, or pass its path" >&2
  exit 1
fi
"$root/tools/ensure-packages.sh"
# pyatspi is a Debian package: use the system's Python.
exec env PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$root/tools/screenshots/make_screenshots.py" "$delvard" "$root/docs/screenshots"
