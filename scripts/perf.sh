#!/usr/bin/env bash
# Runs the benchmarks under perf/ and prints their ratios. Usage: perf.sh BUILD_DIR
# Exits 0 when every benchmark met its targets; otherwise names the ones that did not.
#   host benchmarks:  BUILD_DIR/host/perf/*, run natively
#   Win32 benchmarks: BUILD_DIR/win64/perf/*.exe, run under a Wine session of their own
#                     (fixture drives mapped); perf/NAME.sh, when present, first prepares
#                     the drives for NAME.exe from the Unix side. soak.exe is the endurance
#                     run (make soak); the *_probe.exe programs are the helpers of:
#   the whole cost:   perf/whole_cost.sh, last, in the same session: halvorn.exe with the
#                     status report open against a bare floor program, measured from outside.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: perf.sh BUILD_DIR}" && pwd)
found=0
missed=""
for bench in "$build"/host/perf/* ; do
  [ -x "$bench" ] || continue
  found=1
  echo "== $(basename "$bench")"
  "$bench" || missed="$missed $(basename "$bench")"
done

session=$root/tests/harness/wine-session.sh
run=$build/win64/perf-run
for bench in "$build"/win64/perf/*.exe ; do
  [ -f "$bench" ] || continue
  case "$(basename "$bench")" in soak.exe|*_probe.exe) continue ;; esac
  if [ "$found" != 2 ]; then
    bash "$session" start "$run" >/dev/null || { echo "could not start a Wine session"; exit 1; }
    trap 'bash "$session" stop "$run" >/dev/null' EXIT
  fi
  found=2
  name=$(basename "$bench" .exe)
  echo "== $name"
  if [ -f "$root/perf/$name.sh" ]; then bash "$root/perf/$name.sh" "$run/drives"; fi
  bash "$session" exec "$run" "$bench" || missed="$missed $name"
done
if [ "$found" = 2 ]; then
  echo "== whole_cost"
  bash "$root/perf/whole_cost.sh" "$build" "$run" || missed="$missed whole_cost"
fi
[ "$found" != 0 ] || { echo "no benchmarks built yet"; exit 1; }
if [ -n "$missed" ]; then
  echo "== benchmarks that missed a target or did not finish:$missed"
  exit 1
fi
echo "== every benchmark met its targets"
