#!/usr/bin/env bash
# The demo bundle as scripts/run makes it: every file in place, and the
# settings file reads back without a single warning of zolt-brand check.
set -euo pipefail
program="$1" brand="$2" src="$3"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
"$src/demo/make-bundle" "$program" "$brand" "http://127.0.0.1:9/news/" "$out"
for f in rssfeedzolt dbsettings.dat banner1.dat banner2.dat mainskin.dat main.ico feedreader.php; do
  [ -s "$out/$f" ] || { echo "missing in the bundle: $f"; exit 1; }
done
report="$("$brand" check "$out/dbsettings.dat")" || { echo "$report"; echo "check failed or warned"; exit 1; }
grep -qx 'MasterNewsBaseURL: "http://127.0.0.1:9/news/"' <<<"$report" || { echo "$report"; exit 1; }
grep -qx 'news button: "shown"' <<<"$report"
grep -qx 'Welcome3: .*' <<<"$report"
grep -qx 'Link4: .*' <<<"$report"
echo "demo bundle: 1 passed, 0 failed"
