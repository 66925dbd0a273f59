#!/usr/bin/env bash
# The long endurance run: soak.exe with 86,400 ticks (a day's worth at one tick a second,
# run back to back) under a Wine session of its own. Usage: soak.sh BUILD_DIR [TICKS]
# Exits non-zero, naming what grew, when a handle, USER or GDI count rose after the first
# 1,000 ticks or the private bytes rose by more than 64 KB.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: soak.sh BUILD_DIR [TICKS]}" && pwd)
ticks=${2:-86400}
soak=$build/win64/perf/soak.exe
[ -f "$soak" ] || { echo "soak.exe is not built yet"; exit 1; }
session=$root/tests/harness/wine-session.sh
run=$build/win64/soak-run
bash "$session" start "$run" >/dev/null || { echo "could not start a Wine session"; exit 1; }
trap 'bash "$session" stop "$run" >/dev/null' EXIT
bash "$session" exec "$run" "$soak" "$ticks"
