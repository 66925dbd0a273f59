#!/usr/bin/env bash
# Stages a program folder as make run does and checks it holds every program file, byte for
# byte, while the statistics the program left there survive. Usage: stage_test.sh WIN64_BUILD_DIR
set -uo pipefail
build=$(cd "${1:?usage: stage_test.sh WIN64_BUILD_DIR}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
failed=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi; }

printf 'history' > "$folder/sysstats.dat"
bash "$root/scripts/stage.sh" "$build" "$folder" || { echo "FAILED: stage.sh"; exit 1; }
for name in halvorn.exe res16.exe readme.txt COACH.DAT BOOST.DAT; do
  check "$name is listed as a program file" "grep -q '/$name\$' '$build/program-files.txt'"
done
while IFS= read -r file; do
  check "$(basename "$file") staged unchanged" "cmp -s '$file' '$folder/$(basename "$file")'"
done < "$build/program-files.txt"
check "sysstats.dat kept" "[ \"\$(cat '$folder/sysstats.dat')\" = history ]"
exit "$failed"
