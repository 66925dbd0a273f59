#!/usr/bin/env bash
# The whole cost of running the program as a user sees it, against the floor, in one Wine
# session (perf.sh runs it after the benchmarks, in their session). Usage:
#   whole_cost.sh BUILD_DIR RUN_DIR
# One after the other, each measured over COST_SECONDS (60) after COST_SETTLE (15) seconds
# of running, with a key pressed on the display every second so the program counts the
# user as at work and samples every tick:
#   floor:   floor_probe.exe (one process-and-thread count and one window count a second)
#   floor with module reads: the same and the module reads of the census's round robin
#            (printed, not judged)
#   program: halvorn.exe with the status report open, its companion res16.exe
# The processor time of each (user + system, all threads, from /proc) and the growth of
# the session's wineserver's over the same window are added up; the program's total may be
# at most 1.5 times the floor's. Exits 1 when it is not, or when a step failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: whole_cost.sh BUILD_DIR RUN_DIR}" && pwd)
run=$(cd "${2:?usage: whole_cost.sh BUILD_DIR RUN_DIR}" && pwd)
seconds=${COST_SECONDS:-60}
settle=${COST_SETTLE:-15}
. "$run/env"
ticks_per_second=$(getconf CLK_TCK)

. "$root/scripts/wine_processes.sh"

# Clock ticks of user + system time of process PID, every thread (0 once it is gone).
cpu_ticks() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo 0; return; }
  # Fields after the name (which may hold spaces): state is the 3rd field, utime the 14th.
  set -- ${stat##*) }
  echo $(( ${12} + ${13} ))
}

# Clock ticks of every process of the session's device host (the drivers that answer device
# requests, the mount manager among them): reported beside the sums, not in them.
devices_ticks() {
  local pid total=0
  for pid in $(pids_of winedevice.exe); do total=$((total + $(cpu_ticks "$pid"))); done
  echo "$total"
}

seconds_of() { awk -v t="$1" -v hz="$ticks_per_second" 'BEGIN { printf "%.2f", t / hz }'; }

press_keys() {  # one Shift a second for $1 seconds
  local i
  for i in $(seq 1 "$1"); do
    xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L >/dev/null 2>&1
    sleep 1
  done
}

server=$(pid_of wineserver64 || pid_of wineserver) || { echo "whole_cost: no wineserver of this session"; exit 1; }
stage=$run/work/whole-cost
rm -rf "$stage"
bash "$root/scripts/stage.sh" "$build/win64" "$stage" || exit 1
cp "$build/win64/perf/floor_probe.exe" "$build/win64/perf/report_probe.exe" "$stage/"
cd "$stage" || exit 1

# Floor.
wine floor_probe.exe $((settle + seconds + 3)) </dev/null >/dev/null 2>&1 &
floor_job=$!
floor=$(wait_pid_of floor_probe.exe) || { echo "whole_cost: floor_probe.exe did not start"; exit 1; }
press_keys "$settle"
f0=$(cpu_ticks "$floor"); s0=$(cpu_ticks "$server"); d0=$(devices_ticks)
press_keys "$seconds"
f1=$(cpu_ticks "$floor"); s1=$(cpu_ticks "$server"); d1=$(devices_ticks)
floor_devices=$((d1 - d0))
wait "$floor_job"
floor_own=$((f1 - f0)); floor_server=$((s1 - s0)); floor_total=$((floor_own + floor_server))

# The floor with the census's module round robin: not judged, printed beside the ratio so
# the share of the cost the round robin itself brings can be told from the rest.
wine floor_probe.exe $((settle + seconds + 3)) modules </dev/null >/dev/null 2>&1 &
modules_job=$!
modules=$(wait_pid_of floor_probe.exe) || { echo "whole_cost: floor_probe.exe modules did not start"; exit 1; }
press_keys "$settle"
m0=$(cpu_ticks "$modules"); s0=$(cpu_ticks "$server")
press_keys "$seconds"
m1=$(cpu_ticks "$modules"); s1=$(cpu_ticks "$server")
wait "$modules_job"
modules_own=$((m1 - m0)); modules_server=$((s1 - s0)); modules_total=$((modules_own + modules_server))

# Program, with the status report open.
wine halvorn.exe </dev/null >/dev/null 2>&1 &
program_job=$!
program=$(wait_pid_of halvorn.exe) || { echo "whole_cost: halvorn.exe did not start"; exit 1; }
if ! wine report_probe.exe open </dev/null 2>&1 | tr -d '\r' | grep report_probe | grep -q 'status report open'; then
  echo "whole_cost: the status report did not open"
  kill "$program" 2>/dev/null
  wait "$program_job"
  exit 1
fi
echo "status report open"
companion=$(pid_of res16.exe) || { echo "whole_cost: res16.exe is not running beside the program"; companion=""; }
press_keys "$settle"
p0=$(cpu_ticks "$program"); c0=0; [ -z "$companion" ] || c0=$(cpu_ticks "$companion"); s0=$(cpu_ticks "$server")
d0=$(devices_ticks)
press_keys "$seconds"
p1=$(cpu_ticks "$program"); c1=0; [ -z "$companion" ] || c1=$(cpu_ticks "$companion"); s1=$(cpu_ticks "$server")
program_devices=$(($(devices_ticks) - d0))
wine report_probe.exe close </dev/null 2>&1 | tr -d '\r' | grep report_probe
wait "$program_job"
program_own=$((p1 - p0)); companion_own=$((c1 - c0)); program_server=$((s1 - s0))
program_total=$((program_own + companion_own + program_server))

echo "whole cost over $seconds s each, processor seconds (load average $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "  floor:   floor_probe $(seconds_of $floor_own), wineserver $(seconds_of $floor_server), total $(seconds_of $floor_total)"
echo "  floor with the module round robin: floor_probe $(seconds_of $modules_own), wineserver $(seconds_of $modules_server), total $(seconds_of $modules_total), $(awk -v m="$modules_total" -v f="$floor_total" 'BEGIN { if (f > 0) printf "%.2f", m / f; else print "-" }') times the floor"
echo "  program: halvorn $(seconds_of $program_own), res16 $(seconds_of $companion_own), wineserver $(seconds_of $program_server), total $(seconds_of $program_total)"
echo "  not in the sums, the device host (winedevice.exe): while the floor ran $(seconds_of $floor_devices), while the program ran $(seconds_of $program_devices)"
if [ "$floor_total" -le 0 ]; then
  echo "  the floor took no measurable time: no ratio"
  exit 1
fi
ratio=$(awk -v p="$program_total" -v f="$floor_total" 'BEGIN { printf "%.2f", p / f }')
if awk -v r="$ratio" 'BEGIN { exit !(r <= 1.5) }' && [ -n "$companion" ]; then
  echo "  ratio $ratio (target at most 1.50: met)"
else
  echo "  ratio $ratio (target at most 1.50: MISSED)"
  exit 1
fi
