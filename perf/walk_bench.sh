#!/usr/bin/env bash
# Makes walk_bench's folder tree on the Unix side of fixture drive G: (much faster than
# through Wine): BENCH\T01..T50, each with S01..S99, ten files in every one of those 5,000
# folders, 50,000 files in all. Usage: walk_bench.sh DRIVES_DIR
set -euo pipefail
root=${1:?usage: walk_bench.sh DRIVES_DIR}/g/BENCH
rm -rf "$root"
mkdir -p "$root"
cd "$root"
folders=$(for t in $(seq -w 1 50); do echo "T$t"; for s in $(seq -w 1 99); do echo "T$t/S$s"; done; done)
printf '%s\n' $folders | xargs mkdir -p
for f in $folders; do printf "$f/F%s.DAT\n" 0 1 2 3 4 5 6 7 8 9; done | xargs touch
