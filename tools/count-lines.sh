#!/usr/bin/env bash
# Non-blank lines of the tests (the files under tests/) against the rest of
# the tracked C++, Python and shell sources.
set -euo pipefail
cd "$(dirname "$0")/.."

lines() { git ls-files -z -- "$@" | xargs -0 cat | grep -cv '^[[:space:]]*$'; }

kinds=('*.cpp' '*.h' '*.hpp' '*.cc' '*.py' '*.sh')
tests=$(lines "${kinds[@]/#/tests/}")
code=$(lines "${kinds[@]}" ':!tests')
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests: %d lines; code: %d lines; tests are %.1f%% of the code\n", t, c, 100 * t / c }'
