#!/usr/bin/env bash
# Starts halvorn.exe under Wine on the user's display, in a prefix of its own inside the
# build folder (never ~/.wine). Usage: run.sh WIN64_BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: run.sh WIN64_BUILD_DIR}" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  cat <<'TXT'
No display: DISPLAY is not set. Halvorn is a desktop program and needs an X display.
  - on a desktop session, run `make run` from a terminal inside it;
  - over ssh, connect with `ssh -X` (or -Y);
  - without any screen, start a virtual one and look at it with a screenshot:
      Xvfb :5 -screen 0 1024x768x24 & export DISPLAY=:5; make run
      import -display :5 -window root shot.png
TXT
  exit 1
fi
export WINEPREFIX=$build/run-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix in $WINEPREFIX (once)..."
  (unset DISPLAY; wine wineboot -i >/dev/null 2>&1)
  here=$(cd "$(dirname "$0")/.." && pwd)
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wine regedit /S "Z:${here//\//\\}\\tests\\harness\\prefix.reg" >/dev/null 2>&1 || true
  wineserver -w
fi
# The program keeps sysstats.dat beside itself: run it from a folder of its own, staged
# with everything an installed copy has (the companion, readme.txt, data files).
bash "$(dirname "$0")/stage.sh" "$build" "$build/run"
cd "$build/run"
echo "Starting halvorn.exe (statistics in $build/run/sysstats.dat)"
exec wine halvorn.exe "$@" 2> >(grep -v -e 'wine32 is missing' -e 'multiarch needs' -e 'dpkg --add-architecture' -e 'apt-get install wine32' >&2)
