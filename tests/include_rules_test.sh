#!/usr/bin/env bash
# Runs scripts/check_includes.sh over small source trees: a base tree that keeps the rules,
# plus one file per case (its include on line 2), and checks the verdict and the message.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

base="$work/base/src"
mkdir -p "$base"/{app,analysis,equipment,platform,services,ui,resources}
cat > "$base/include_rules.txt" <<'EOF'
ground: services platform resources app/app_globals.h
platform: resources
services: platform resources
equipment: ground ui/splash.h
ui: ground
analysis: ground ui equipment
resources:
app: *
except src/ui/legacy.cpp: analysis/old.h
EOF
printf '#include "ui/legacy.h"\n#include "analysis/old.h"\n' > "$base/ui/legacy.cpp"
printf '#include "analysis/status.h"\n#include "services/drives.h"\n' > "$base/app/main.cpp"

failed=0
# description | file under src | line 2 of that file | expected exit status | expected output
while IFS='|' read -r what file line status expected; do
  [ -z "$what" ] && continue
  tree="$work/case"
  rm -rf "$tree" && cp -r "$work/base" "$tree"
  mkdir -p "$(dirname "$tree/src/$file")"
  printf '// case\n%s\n' "$line" > "$tree/src/$file"
  output=$(bash "$root/scripts/check_includes.sh" "$tree/src" 2>&1)
  got=$?
  if [ "$got" != "$status" ] || ! grep -qF -- "$expected" <<< "$output"; then
    echo "FAILED: $what: exit $got (wanted $status), output:"; echo "$output"
    failed=1
  else
    echo "ok: $what"
  fi
done <<'EOF'
the shared records header|ui/a.cpp|#include "app/app_globals.h"|0|
another app header|ui/a.cpp|#include "app/main_dialog.h"|1|src/ui/a.cpp:2: ui/ may not include app/main_dialog.h (rule "ui: ground")
spaces in the directive|ui/a.cpp|  #  include  "app/main_dialog.h"|1|src/ui/a.cpp:2: ui/ may not include app/main_dialog.h
platform on services|platform/p.h|#include "services/drives.h"|1|src/platform/p.h:2: platform/ may not include services/drives.h (rule "platform: resources")
a header named alone|equipment/e.cpp|#include "ui/splash.h"|0|
another header of that folder|equipment/e.cpp|#include "ui/report_list.h"|1|src/equipment/e.cpp:2: equipment/ may not include ui/report_list.h
a folder name that only starts alike|analysis/a.cpp|#include "uix/a.h"|1|analysis/ may not include uix/a.h
a folder named in the rule|analysis/a.cpp|#include "equipment/inventory.h"|0|
a folder without a rule|newroom/x.cpp|#include "services/drives.h"|1|src/newroom/x.cpp: folder newroom/ has no line in src/include_rules.txt
an .rc file too|resources/a.rc|#include "ui/short_name.h"|1|src/resources/a.rc:2: resources/ may not include ui/short_name.h
the exception for another file|ui/other.cpp|#include "analysis/old.h"|1|src/ui/other.cpp:2: ui/ may not include analysis/old.h
an exception no longer needed|ui/legacy.cpp|#include "ui/legacy.h"|1|exception "src/ui/legacy.cpp: analysis/old.h" is no longer needed
the count of broken includes|ui/a.cpp|#include "app/main_dialog.h"|1|1 include(s) break the folder rules of src/include_rules.txt
EOF

# The tree named by a relative path is judged by the same rules.
output=$(cd "$work/base" && bash "$root/scripts/check_includes.sh" src 2>&1)
if [ $? != 0 ]; then echo "FAILED: a relative path: $output"; failed=1; else echo "ok: a relative path"; fi
exit "$failed"
