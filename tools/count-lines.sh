#!/usr/bin/env bash
# Non-blank lines of the tests against the rest of the code: C++, Python and
# shell files, scripts without an extension found by their "#!" line.
set -euo pipefail
cd "$(dirname "$0")/.."

sources() {
  git ls-files -- "$@" | while IFS= read -r file; do
    case $file in
      *.cpp | *.h | *.py | *.sh) echo "$file" ;;
      *.*) ;;
      *) [[ $(head -c 2 "$file" | tr -d '\0') == '#!' ]] && echo "$file" ;;
    esac
  done
}
lines() { tr '\n' '\0' | xargs -0 cat | grep -cv '^[[:space:]]*$'; }

tests=$(sources tests | lines)
code=$(sources . ':!tests' | lines)
echo "tests: $tests lines; code: $code lines; tests are $((100 * tests / code))% of the code"
