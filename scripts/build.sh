#!/usr/bin/env bash
# build.sh [--sanitize] [--dir DIR] [cmake args...]: configures (once) and builds the whole tree.
# Warnings are fatal for our code. --sanitize builds with ASan, LSan and UBSan in build-asan/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Paths relative to the checkout in ccache's keys, so that another clone (CI's) reuses the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
dir="$root/build"
args=(-DQMX_WERROR=ON)
while [ $# -gt 0 ]; do
  case "$1" in
    --sanitize) dir="$root/build-asan"; args+=(-DQMX_SANITIZE=ON -DQMX_BUILD_FUZZ=OFF -DQMX_BUILD_BENCH=OFF) ;;
    --dir) dir=$2; shift ;;
    *) args+=("$1") ;;
  esac
  shift
done
# Progress and errors go to stderr; stdout carries only the build folder, for scripts.
cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >&2
cmake --build "$dir" -j "$(nproc)" >&2
echo "$dir"
