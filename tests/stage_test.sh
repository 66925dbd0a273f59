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
for name in halvorn.exe res16.exe readme.txt COACH.DAT BOOST.DAT r_noise.wav l_noise.wav b_noise.wav; do
  check "$name is listed as a program file" "grep -q '/$name\$' '$build/program-files.txt'"
done
while IFS= read -r file; do
  check "$(basename "$file") staged unchanged" "cmp -s '$file' '$folder/$(basename "$file")'"
done < "$build/program-files.txt"
# The noise files: two seconds of 16-bit stereo PCM at 22,050 Hz (176,400 bytes of samples
# after the 44-byte header), with noise on their own channel(s) only: "01" is a silent left
# and a noisy right channel.
channels() { od -An -v -t d2 -j 44 "$1" | tr -s ' ' '\n' | awk 'NF { if (++n % 2) { if ($1 != 0) l = 1 } else if ($1 != 0) r = 1 }
  END { printf "%d%d", l, r }'; }
for wave in "r_noise.wav 01" "l_noise.wav 10" "b_noise.wav 11"; do
  set -- $wave
  check "$1 is a 2 s 22,050 Hz 16-bit stereo wave" "[ \"\$(head -c 4 '$build/$1')\$(od -An -t u2 -j 22 -N 14 '$build/$1' | tr -s ' ')\" = 'RIFF 2 22050 0 22664 1 4 16' ] && [ \$(stat -c %s '$build/$1') = 176444 ]"
  check "$1 has noise on channels $2 (left, right)" "[ \"\$(channels '$build/$1')\" = $2 ]"
done
check "sysstats.dat kept" "[ \"\$(cat '$folder/sysstats.dat')\" = history ]"
exit "$failed"
