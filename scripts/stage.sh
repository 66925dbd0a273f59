#!/usr/bin/env bash
# Puts the program into a folder the way an installed copy has it: every file listed in the
# build's program-files.txt (halvorn.exe, the companion, readme.txt, data files). Files the
# program wrote there itself (sysstats.dat) are kept. Usage: stage.sh WIN64_BUILD_DIR FOLDER
set -euo pipefail
build=${1:?usage: stage.sh WIN64_BUILD_DIR FOLDER}
folder=${2:?usage: stage.sh WIN64_BUILD_DIR FOLDER}
list=$build/program-files.txt
[ -f "$list" ] || { echo "stage.sh: $list is missing (build first)"; exit 1; }
mkdir -p "$folder"
while IFS= read -r file; do
  [ -n "$file" ] || continue
  [ -f "$file" ] || { echo "stage.sh: $file was not built"; exit 1; }
  cp "$file" "$folder/"
done < "$list"
