#!/usr/bin/env bash
# test.sh [--sanitize]: installs what the build needs, builds everything and runs the whole test
# suite with CTest. Exit status is the tests'.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
dir=$("$root/scripts/build.sh" "$@" | tail -n 1)
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 600
