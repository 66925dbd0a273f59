#!/usr/bin/env bash
# Runs every fuzz target for longer than make test does. Usage: fuzz.sh HOST_BUILD_DIR SECONDS
set -euo pipefail
build=${1:?usage: fuzz.sh HOST_BUILD_DIR SECONDS}
seconds=${2:-120}
mkdir -p "$build/fuzz-corpus"
# Targets that must also reach a number of runs, however long that takes: the readers of
# program headers, which take any file on the disks.
declare -A min_runs=([fuzz_ne_imports]=10000000 [fuzz_pe_imports]=10000000)
for target in "$build"/fuzz/*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "$build/fuzz-corpus/$name"
  if [ -n "${min_runs[$name]:-}" ]; then
    echo "== $name (${min_runs[$name]} runs)"
    "$target" -runs="${min_runs[$name]}" -rss_limit_mb=2048 "$build/fuzz-corpus/$name" 2>&1 | tail -n 3
  else
    echo "== $name ($seconds s)"
    "$target" -max_total_time="$seconds" -rss_limit_mb=2048 "$build/fuzz-corpus/$name" 2>&1 | tail -n 3
  fi
done
