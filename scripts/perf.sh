#!/usr/bin/env bash
# Runs the benchmarks under perf/ and prints their ratios. Usage: perf.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: perf.sh BUILD_DIR}
found=0
for bench in "$build"/host/perf/* ; do
  [ -x "$bench" ] || continue
  found=1
  echo "== $(basename "$bench")"
  "$bench"
done
[ "$found" = 1 ] || echo "no benchmarks built yet"
