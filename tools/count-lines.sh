#!/usr/bin/env bash
# Non-blank, non-comment (//) lines of the tracked C++ sources: the tests and
# their support (tests/) against the code (everything but tests/, bench/, fuzz/).
# With -v, the count of each test file too.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { grep -cvE '^\s*(//.*)?$' "$@" /dev/null | awk -F: '{ s += $NF } END { print s + 0 }'; }
mapfile -t tests < <(git ls-files -- 'tests/*.cpp' 'tests/*.h')
mapfile -t code < <(git ls-files -- '*.cpp' '*.h' ':!tests/' ':!bench/' ':!fuzz/')
if [ "${1:-}" = -v ]; then
    for f in "${tests[@]}"; do printf '%6d %s\n' "$(count "$f")" "$f"; done
fi
t=$(count "${tests[@]}")
c=$(count "${code[@]}")
echo "tests $t, code $c, ratio $(awk -v t="$t" -v c="$c" 'BEGIN { printf "%.2f", t / c }')"
