#!/usr/bin/env bash
# The endurance runs, each in a Wine session of its own. Usage: soak.sh BUILD_DIR [TICKS]
#   1. soak.exe with TICKS ticks (86,400: a day's worth at one tick a second, run back to
#      back): fails, naming what grew, when a handle, USER or GDI count rose after the first
#      1,000 ticks or the private bytes rose by more than 64 KB.
#   2. soak.exe --pace SOAK_PACE_MINUTES (5): the program's own sampling thread at its own
#      pace, a minute with the system's processes and then the minutes with 200 idle ones;
#      fails when a tick starts more than 100 ms late.
#   3. The real-time form: halvorn.exe itself, staged with its companion, running for
#      SOAK_MINUTES (60) with the status report open and a key pressed every second, sampled
#      from outside every minute: processor time, resident memory and handle count of
#      halvorn.exe and res16.exe. Prints the growth after the settling minutes (the first
#      fifth, at most 5); fails when a handle count ended above the highest of the settling
#      minutes, or a program ended before its time.
# SOAK_PARTS (all three: "ticks pace real-time") runs only the parts it names. Every part
# named runs; the exit code is non-zero when any failed, and the failed ones are named.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: soak.sh BUILD_DIR [TICKS]}" && pwd)
ticks=${2:-86400}
pace_minutes=${SOAK_PACE_MINUTES:-5}
minutes=${SOAK_MINUTES:-60}
parts=" ${SOAK_PARTS:-ticks pace real-time} "
soak=$build/win64/perf/soak.exe
probe=$build/win64/perf/report_probe.exe
[ -f "$soak" ] && [ -f "$probe" ] || { echo "soak.exe is not built yet"; exit 1; }
session=$root/tests/harness/wine-session.sh
run=$build/win64/soak-run
failed=""

fresh_session() {
  bash "$session" stop "$run" >/dev/null 2>&1
  bash "$session" start "$run" >/dev/null || { echo "could not start a Wine session"; exit 1; }
}
trap 'bash "$session" stop "$run" >/dev/null' EXIT

if [[ $parts == *" ticks "* ]]; then
  echo "== soak: $ticks ticks back to back (load average $(cut -d' ' -f1-3 /proc/loadavg))"
  fresh_session
  bash "$session" exec "$run" "$soak" "$ticks" || failed="$failed ticks"
fi

if [[ $parts == *" pace "* ]]; then
  echo "== soak: the tick's pace, $pace_minutes minutes with 200 idle processes (load average $(cut -d' ' -f1-3 /proc/loadavg))"
  fresh_session
  bash "$session" exec "$run" "$soak" --pace "$pace_minutes" || failed="$failed pace"
fi

. "$root/scripts/wine_processes.sh"
cpu_seconds() {  # user + system time of every thread, in seconds
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo -; return; }
  set -- ${stat##*) }
  awk -v t=$(( ${12} + ${13} )) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }'
}
rss_kb() { awk '/^VmRSS:/ { print $2; found = 1 } END { if (!found) print "-" }' "/proc/$1/status" 2>/dev/null || echo -; }
handles_of() {  # name: from the handle counts report_probe.exe prints
  awk -v name="$1" 'tolower($1) == name { print $3; found = 1 } END { if (!found) print "-" }' "$run/handles.txt"
}

realtime() {
  echo "== soak: halvorn.exe for $minutes minutes in real time, the status report open (load average $(cut -d' ' -f1-3 /proc/loadavg))"
  fresh_session
  . "$run/env"
  local stage=$run/work/realtime
  bash "$root/scripts/stage.sh" "$build/win64" "$stage" || return 1
  cp "$probe" "$stage/"
  cd "$stage" || return 1
  wine halvorn.exe </dev/null >/dev/null 2>&1 &
  local job=$! program="" companion="" i
  program=$(wait_pid_of halvorn.exe)
  [ -n "$program" ] || { echo "halvorn.exe did not start"; return 1; }
  if ! wine report_probe.exe open </dev/null 2>&1 | tr -d '\r' | grep report_probe | grep -q 'status report open'; then
    echo "the status report did not open"
    kill "$program" 2>/dev/null
    wait "$job"
    return 1
  fi
  echo "status report open"
  companion=$(pid_of res16.exe) || { echo "res16.exe is not running beside the program"; return 1; }
  local settle=$(( minutes / 5 )); [ "$settle" -ge 1 ] || settle=1; [ "$settle" -le 5 ] || settle=5
  printf '%-7s %-35s %s\n' "" "halvorn.exe" "res16.exe"
  printf '%-7s %9s %6s %10s %8s   %9s %6s %10s %8s\n' minute "cpu s" "cpu %" "rss KB" handles "cpu s" "cpu %" "rss KB" handles
  local minute pc=0 cc=0 pcpu ccpu settled_ph=0 settled_ch=0 ph ch prss crss srss_p srss_c scpu_p scpu_c
  for minute in $(seq 0 "$minutes"); do
    if [ "$minute" -gt 0 ]; then
      for i in $(seq 1 60); do
        xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L >/dev/null 2>&1
        sleep 1
      done
    fi
    wine report_probe.exe handles </dev/null 2>/dev/null | tr -d '\r' > "$run/handles.txt"
    pcpu=$(cpu_seconds "$program"); ccpu=$(cpu_seconds "$companion")
    prss=$(rss_kb "$program"); crss=$(rss_kb "$companion")
    ph=$(handles_of halvorn.exe); ch=$(handles_of res16.exe)
    if [ "$pcpu" = - ] || [ "$ccpu" = - ]; then
      echo "minute $minute: $( [ "$pcpu" = - ] && echo halvorn.exe || echo res16.exe) is no longer running"
      return 1
    fi
    printf '%-7s %9s %6s %10s %8s   %9s %6s %10s %8s\n' "$minute" "$pcpu" \
      "$(awk -v a="$pcpu" -v b="$pc" -v m="$minute" 'BEGIN { if (m) printf "%.2f", (a - b) / 0.6; else printf "-" }')" \
      "$prss" "$ph" "$ccpu" \
      "$(awk -v a="$ccpu" -v b="$cc" -v m="$minute" 'BEGIN { if (m) printf "%.2f", (a - b) / 0.6; else printf "-" }')" \
      "$crss" "$ch"
    pc=$pcpu; cc=$ccpu
    if [ "$minute" -le "$settle" ]; then
      [ "$ph" = - ] || [ "$ph" -le "$settled_ph" ] || settled_ph=$ph
      [ "$ch" = - ] || [ "$ch" -le "$settled_ch" ] || settled_ch=$ch
    fi
    if [ "$minute" -eq "$settle" ]; then srss_p=$prss; srss_c=$crss; scpu_p=$pcpu; scpu_c=$ccpu; fi
  done
  wine report_probe.exe close </dev/null 2>&1 | tr -d '\r' | grep report_probe
  wait "$job"
  local span=$(( minutes - settle ))
  echo "growth from minute $settle to minute $minutes:"
  echo "  halvorn.exe: resident $(( prss - srss_p )) KB, handles $ph (highest while settling $settled_ph)," \
       "processor $(awk -v a="$pcpu" -v b="$scpu_p" -v s="$span" 'BEGIN { printf "%.2f %% of one core", s ? (a - b) / (s * 0.6) : 0 }')"
  echo "  res16.exe:   resident $(( crss - srss_c )) KB, handles $ch (highest while settling $settled_ch)," \
       "processor $(awk -v a="$ccpu" -v b="$scpu_c" -v s="$span" 'BEGIN { printf "%.2f %% of one core", s ? (a - b) / (s * 0.6) : 0 }')"
  local grew=0
  if [ "$ph" != - ] && [ "$ph" -gt "$settled_ph" ]; then echo "  halvorn.exe's handle count grew"; grew=1; fi
  if [ "$ch" != - ] && [ "$ch" -gt "$settled_ch" ]; then echo "  res16.exe's handle count grew"; grew=1; fi
  return $grew
}
if [[ $parts == *" real-time "* ]]; then
  (realtime) || failed="$failed real-time"
  echo "(load average at the end $(cut -d' ' -f1-3 /proc/loadavg))"
fi

if [ -n "$failed" ]; then
  echo "== soak: failed:$failed"
  exit 1
fi
echo "== soak: every part passed"
