#!/usr/bin/env bash
# Checks every #include "folder/..." line of the sources under SRC against the folder
# rules in SRC/include_rules.txt. Prints one line per include no rule allows (file, line,
# the include and the rule that refuses it) and exits 1 when there is any.
# Usage: check_includes.sh [SRC]   (default: the src folder beside this script's folder)
set -uo pipefail
src=${1:-$(dirname "$0")/../src}
# Absolute, as the rules are read again after the cd below.
src=$(cd "$src" 2>/dev/null && pwd) || { echo "check_includes: no folder ${1:-src}" >&2; exit 2; }
rules="$src/include_rules.txt"
[ -r "$rules" ] || { echo "check_includes: cannot read $rules" >&2; exit 2; }

cd "$src" || exit 2
find . -mindepth 2 -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' -o -name '*.rc' \) | sed 's|^\./||' |
  LC_ALL=C sort | awk -v rules="$rules" -v table="src/include_rules.txt" '
function fail(message) { print message; ++failures }
function allows(folder, target,    n, i, entry, parts) {
    n = split(allowed[folder], parts, " ")
    for (i = 1; i <= n; ++i) {
        entry = parts[i]
        if (entry == "*" || entry == target || index(target, entry "/") == 1) return 1
    }
    return 0
}
BEGIN {
    while ((getline line < rules) > 0) {
        sub(/#.*/, "", line)
        if (line ~ /^[ \t]*$/) continue
        if (line ~ /^except[ \t]/) {
            # except src/FOLDER/FILE: HEADER
            split(line, parts, /[ \t:]+/)
            key = parts[2] " " parts[3]
            excepted[key] = 1
            continue
        }
        colon = index(line, ":")
        if (colon == 0) { print table ": not a rule: " line; bad = 1; continue }
        folder = substr(line, 1, colon - 1)
        gsub(/[ \t]/, "", folder)
        allowed[folder] = substr(line, colon + 1)
        shown[folder] = allowed[folder]
        gsub(/^[ \t]+|[ \t]+$/, "", shown[folder])
    }
    close(rules)
    if (bad) exit 2
    # "ground" stands for the entries of the ground line.
    for (folder in allowed)
        if (folder != "ground") gsub(/(^|[ \t])ground([ \t]|$)/, " " allowed["ground"] " ", allowed[folder])
}
{
    # Each input line names one source file, relative to src/.
    file = $0
    split(file, path, "/")
    folder = path[1]
    known = (folder in allowed) && folder != "ground"
    if (!known) fail("src/" file ": folder " folder "/ has no line in " table)
    number = 0
    while ((getline text < file) > 0) {
        ++number
        if (!known || text !~ /^[ \t]*#[ \t]*include[ \t]*"[A-Za-z0-9_]+\//) continue
        target = text
        sub(/^[^"]*"/, "", target)
        sub(/".*/, "", target)
        split(target, parts, "/")
        if (parts[1] == folder || allows(folder, target)) continue
        key = "src/" file " " target
        if (key in excepted) { used[key] = 1; continue }
        fail("src/" file ":" number ": " folder "/ may not include " target \
             " (rule \"" folder ": " shown[folder] "\")")
    }
    close(file)
}
END {
    if (bad) exit 2
    for (key in excepted)
        if (!(key in used)) {
            split(key, parts, " ")
            fail(table ": exception \"" parts[1] ": " parts[2] "\" is no longer needed: delete its line")
        }
    if (failures) { print failures " include(s) break the folder rules of " table; exit 1 }
}
'
