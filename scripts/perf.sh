#!/usr/bin/env bash
# Runs the benchmarks under perf/ and prints their ratios. Usage: perf.sh BUILD_DIR
#   host benchmarks:  BUILD_DIR/host/perf/*, run natively
#   Win32 benchmarks: BUILD_DIR/win64/perf/*.exe, run under a Wine session of their own
#                     (fixture drives mapped); perf/NAME.sh, when present, first prepares
#                     the drives for NAME.exe from the Unix side.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: perf.sh BUILD_DIR}" && pwd)
found=0
for bench in "$build"/host/perf/* ; do
  [ -x "$bench" ] || continue
  found=1
  echo "== $(basename "$bench")"
  "$bench"
done

session=$root/tests/harness/wine-session.sh
run=$build/win64/perf-run
status=0
for bench in "$build"/win64/perf/*.exe ; do
  [ -f "$bench" ] || continue
  if [ "$found" != 2 ]; then
    bash "$session" start "$run" >/dev/null || { echo "could not start a Wine session"; exit 1; }
    trap 'bash "$session" stop "$run" >/dev/null' EXIT
  fi
  found=2
  name=$(basename "$bench" .exe)
  echo "== $name"
  if [ -f "$root/perf/$name.sh" ]; then bash "$root/perf/$name.sh" "$run/drives"; fi
  bash "$session" exec "$run" "$bench" || status=1
done
[ "$found" != 0 ] || echo "no benchmarks built yet"
exit "$status"
