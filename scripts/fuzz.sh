#!/usr/bin/env bash
# Runs every fuzz target for longer than make test does. Usage: fuzz.sh HOST_BUILD_DIR SECONDS
set -euo pipefail
build=${1:?usage: fuzz.sh HOST_BUILD_DIR SECONDS}
seconds=${2:-120}
mkdir -p "$build/fuzz-corpus"
for target in "$build"/fuzz/*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "$build/fuzz-corpus/$name"
  echo "== $name ($seconds s)"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 "$build/fuzz-corpus/$name" 2>&1 | tail -n 3
done
