#!/usr/bin/env bash
# run-fuzzer.sh BINARY SEED_DIR RUNS: fuzzes for RUNS iterations from the seeds, in a scratch
# corpus so the seed folder is never written to. Exit status is the fuzzer's (non-zero on a crash).
set -euo pipefail
bin=$1 seeds=$2 runs=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$seeds"/. "$work"/ 2>/dev/null || true
exec "$bin" -runs="$runs" -max_len=8192 -timeout=10 -rss_limit_mb=2048 "$work"
