# Linux processes of one Wine session, for scripts that measure them from outside. Source it
# with WINEPREFIX set to the session's prefix (a session's env file sets it).

# The process of this session's prefix with this (kernel, 15-character) name.
pid_of() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(cat "$p/comm" 2>/dev/null)" = "$1" ] || continue
    tr '\0' '\n' 2>/dev/null < "$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "${p#/proc/}"
    return 0
  done
  return 1
}

# Every process of this session's prefix with this name.
pids_of() {
  local p
  for p in /proc/[0-9]*; do
    [ "$(cat "$p/comm" 2>/dev/null)" = "$1" ] || continue
    tr '\0' '\n' 2>/dev/null < "$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "${p#/proc/}"
  done
}

# Waits up to 30 s for pid_of NAME; prints the id.
wait_pid_of() {
  local i
  for i in $(seq 1 300); do pid_of "$1" && return 0; sleep 0.1; done
  return 1
}
