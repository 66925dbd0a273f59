#!/usr/bin/env bash
# The Wine test harness: one prefix, one Xvfb display and one persistent wineserver per
# test run, all inside the build folder.
#   wine-session.sh start RUN_DIR         make a fresh prefix from a cached template, map the
#                                          fixture drives, start a print server with a PDF
#                                          queue, Xvfb and the wineserver
#   wine-session.sh exec RUN_DIR EXE ARGS  run a Windows program in that session
#   wine-session.sh stop RUN_DIR          end every program, the wineserver, the print
#                                          server and Xvfb
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cmd=${1:?usage: wine-session.sh start|exec|stop RUN_DIR ...}
run=${2:?usage: wine-session.sh start|exec|stop RUN_DIR ...}
run=$(realpath -m "$run")  # Wine refuses a relative WINEPREFIX
shift 2

export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The template prefix is rebuilt only when the prefix settings or Wine change.
make_template() {
  local template=$1
  local stamp
  stamp=$( (cat "$here/prefix.reg" "$0"; wine --version; ls /usr/share/wine/fonts 2>/dev/null) | sha1sum | cut -c1-16)
  if [ -f "$template/.stamp" ] && [ "$(cat "$template/.stamp")" = "$stamp" ]; then
    return 0
  fi
  rm -rf "$template"
  mkdir -p "$template"
  (
    export WINEPREFIX=$template
    unset DISPLAY
    wine wineboot -i >/dev/null 2>&1
    mkdir -p "$template/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null
    wine regedit /S "$(winepath_w "$here/prefix.reg")" >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1; wineserver -w
    # The user folders link to the host's home; as plain folders they keep every walk
    # over C: inside the prefix.
    find "$template/drive_c/users" -type l | while read -r link; do
      rm -f "$link"; mkdir -p "$link"
    done
  )
  # A prefix that wineboot did not finish must not be taken as the template next time.
  [ -f "$template/system.reg" ] && [ -f "$template/drive_c/windows/Fonts/marlett.ttf" ] || return 1
  echo "$stamp" > "$template/.stamp"
}

# Z: is the host's root, so a Unix path maps to Z: plus the path with backslashes.
winepath_w() { printf 'Z:%s' "${1//\//\\}"; }

free_display() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then echo "$n"; return 0; fi
  done
  return 1
}

map_drives() {
  local prefix=$1 reg=$run/drives.reg
  printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\n' > "$reg"
  while read -r letter type folder; do
    case "$letter" in ''|'#'*) continue ;; esac
    mkdir -p "$run/drives/$letter"
    cp -a "$root/tests/fixtures/drives/$folder/." "$run/drives/$letter/"
    ln -sfn "$run/drives/$letter" "$prefix/dosdevices/$letter:"
    printf '"%s:"="%s"\n' "$letter" "$type" >> "$reg"
  done < "$root/tests/fixtures/drives.conf"
  while read -r letter link target; do
    case "$letter" in ''|'#'*) continue ;; esac
    ln -sfn "$target" "$run/drives/$letter/$link"
  done < "$root/tests/fixtures/drive_links.conf"
  WINEPREFIX=$prefix wine regedit /S "$(winepath_w "$reg")" >/dev/null 2>&1
}

# A private CUPS scheduler for this run: its own configuration, spool and socket in a
# short folder under /tmp (filters run as lp and must reach it), one queue "TestPDF" that
# writes PDFs into RUN_DIR/pdf. Any other scheduler on the machine is left alone; Wine
# programs reach this one through CUPS_SERVER in the env file. Wine brings its printer
# list up to date when a program that loads the spooler starts while no other one runs,
# so the queue is made before any program starts. When the scheduler cannot start,
# CUPS_SERVER names a socket nobody listens on (no printers at all), the reason goes to
# RUN_DIR/cups-unavailable and printing tests skip.
start_cups() {
  local dir tag reason=""
  dir=$(mktemp -d /tmp/halvorn-cups-XXXXXX) || { echo "mktemp failed" > "$run/cups-unavailable"; return 1; }
  tag=$(basename "$dir")
  echo "$dir" > "$run/cups.dir"
  mkdir -p "$dir/etc/ppd" "$dir/spool" "$dir/state" "$dir/cache" "$dir/tmp" "$dir/log" "$run/pdf"
  chmod 755 "$dir"; chmod 1777 "$dir/tmp"
  cat > "$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
  cat > "$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
StateDir $dir/state
CacheDir $dir/cache
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
CONF
  # The PDF backend reads its settings from /etc/cups, one file per queue device name.
  printf 'Out %s\n' "$run/pdf" > "/etc/cups/cups-pdf-$tag.conf" 2>/dev/null || reason="cannot write /etc/cups/cups-pdf-$tag.conf"
  cups_socket=$dir/cups.sock
  export CUPS_SERVER=$cups_socket
  if [ -z "$reason" ] && ! command -v cupsd >/dev/null; then reason="cupsd is not installed"; fi
  if [ -z "$reason" ]; then
    cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" </dev/null >"$dir/log/cupsd.out" 2>&1 &
    echo $! > "$run/cupsd.pid"
    local i
    for i in $(seq 1 50); do lpstat -r 2>/dev/null | grep -q 'is running' && break; sleep 0.1; done
    lpstat -r 2>/dev/null | grep -q 'is running' || reason="cupsd did not start: $(cat "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | head -3)"
  fi
  if [ -z "$reason" ]; then
    lpadmin -p TestPDF -v "cups-pdf:/$tag" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E >/dev/null 2>&1 &&
      lpadmin -d TestPDF >/dev/null 2>&1 || reason="lpadmin could not add the TestPDF queue"
  fi
  if [ -n "$reason" ]; then
    echo "$reason" > "$run/cups-unavailable"
    cups_socket=""
    stop_cups
    return 1
  fi
}

# Ends the scheduler this run started (checked by its command line) and removes its files.
stop_cups() {
  local dir=""
  [ -f "$run/cups.dir" ] && dir=$(cat "$run/cups.dir")
  if [ -f "$run/cupsd.pid" ]; then
    local pid
    pid=$(cat "$run/cupsd.pid")
    if [ -n "$dir" ] && tr '\0' ' ' < "/proc/$pid/cmdline" 2>/dev/null | grep -q "^cupsd .*$dir/etc/cupsd.conf"; then
      kill "$pid" 2>/dev/null
      local i
      # Gone, or a zombie its parent has not reaped yet.
      for i in $(seq 1 50); do
        case "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" in S|R|D) sleep 0.1 ;; *) break ;; esac
      done
    fi
    rm -f "$run/cupsd.pid"
  fi
  if [ -n "$dir" ]; then
    case "$dir" in /tmp/halvorn-cups-*) rm -rf "$dir"; rm -f "/etc/cups/cups-pdf-$(basename "$dir").conf" ;; esac
    rm -f "$run/cups.dir"
  fi
}

start() {
  stop_quietly
  rm -rf "$run"
  mkdir -p "$run/artifacts" "$run/work"
  local template
  template=$(dirname "$run")/wine-template
  make_template "$template" || { echo "could not build the Wine prefix template"; return 1; }
  cp -a "$template" "$run/prefix"
  local prefix=$run/prefix
  export WINEPREFIX=$prefix

  # Two sessions starting at once (ctest runs the reboot test's beside the shared one) can
  # pick the same free number; the one whose server lost tries the next.
  local n attempt i
  for attempt in 1 2 3 4 5; do
    n=$(free_display) || { echo "no free X display number"; return 1; }
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$run/xvfb.log" 2>&1 &
    echo $! > "$run/xvfb.pid"
    export DISPLAY=":$n"
    for i in $(seq 1 100); do
      kill -0 "$(cat "$run/xvfb.pid")" 2>/dev/null || break
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    kill -0 "$(cat "$run/xvfb.pid")" 2>/dev/null && xdpyinfo >/dev/null 2>&1 && break
    kill "$(cat "$run/xvfb.pid")" 2>/dev/null
    sleep 0.$((RANDOM % 9 + 1))
  done
  xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on :$n"; return 1; }

  # The print queue must exist before the first program that lists printers.
  cups_socket=""
  start_cups || echo "printing tests will skip: $(cat "$run/cups-unavailable")"
  export CUPS_SERVER=${cups_socket:-$run/no-print-server}
  # Drives are read when the wineserver starts, so map them before it runs.
  map_drives "$prefix"
  wineserver -k >/dev/null 2>&1; wineserver -w
  cat > "$run/env" <<ENV
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX="$prefix" DISPLAY=":$n"
export HALVORN_RUN_DIR="$run" HALVORN_ARTIFACTS="$run/artifacts"
export CUPS_SERVER="$CUPS_SERVER" HALVORN_PDF_DIR="$run/pdf"
ENV
  wineserver -p </dev/null >/dev/null 2>&1
  # Warm start: the first program pays for the desktop and services once, here.
  wine cmd /c exit </dev/null >/dev/null 2>&1
  echo "wine session ready: prefix $prefix, display :$n"
}

stop_quietly() {
  if [ -f "$run/env" ]; then
    ( . "$run/env"; wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1 )
  fi
  # File systems a killed test left mounted on its fixture drives: unmounted before the run
  # folder is removed, so the removal never reaches into them.
  awk -v run="$run/" 'index($2, run) == 1 { print $2 }' /proc/mounts 2>/dev/null | sort -r |
    while read -r mount; do umount -l "$mount" 2>/dev/null; done
  # PDF settings of print servers whose runs were killed before they could clean up.
  local conf
  for conf in /etc/cups/cups-pdf-halvorn-cups-*.conf; do
    [ -e "$conf" ] || continue
    [ -d "/tmp/$(basename "$conf" .conf | sed 's/^cups-pdf-//')" ] || rm -f "$conf"
  done
  if [ -f "$run/xvfb.pid" ]; then
    kill "$(cat "$run/xvfb.pid")" 2>/dev/null
    rm -f "$run/xvfb.pid"
  fi
  stop_cups
}

stop() {
  stop_quietly
  # The prefix is large; screenshots and logs stay.
  rm -rf "$run/prefix" "$run/drives"
  echo "wine session stopped; artifacts in $run/artifacts"
}

exec_program() {
  [ -f "$run/env" ] || { echo "no wine session in $run (run the wine_session_start test first)"; return 1; }
  . "$run/env"
  local exe=$1; shift
  cd "$run/work" || return 1
  local log=$run/artifacts/${HALVORN_LOG_NAME:-$(basename "$exe" .exe)}.log
  wine "$exe" "$@" </dev/null 2>&1 | grep -v -e 'wine32 is missing' -e 'multiarch needs' \
    -e 'dpkg --add-architecture' -e 'apt-get install wine32' | tee "$log"
  local rc=${PIPESTATUS[0]}
  # A program that did not run at all exits 0 silently: demand the test runner's summary,
  # with at least one test run (a filter that matches nothing is a fault too).
  if ! grep -q '^\[==========\] [1-9][0-9]* .* ran\.' "$log"; then
    echo "wine-session: $(basename "$exe") printed no summary of any test run (exit code $rc)"
    return 1
  fi
  return "$rc"
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  exec) exec_program "$@" ;;
  *) echo "unknown command $cmd"; exit 2 ;;
esac
