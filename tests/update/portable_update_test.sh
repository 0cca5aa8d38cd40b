#!/usr/bin/env bash
# The portable Linux folder of this build updates itself: a branded copy,
# an update site on 127.0.0.1 whose package is this build's own .tar.gz
# renamed to a newer version with one file added, signed with a key made
# here. The copy's Updater, started as the program starts it, downloads,
# checks, replaces and starts the program again: the added file is there and
# every brand file is byte for byte as it was, the last news id included.
# Then a package with one byte changed, and one signed by another key, are
# refused and the folder stays as it is.
#   portable_update_test.sh CPACK BUILD-DIR SOURCE-DIR ZOLT-BRAND
set -euo pipefail
cpack="$1" build="$2" src="$3" brand="$4"

work="$(mktemp -d)"
server=""
cleanup() {
  pkill -f "$work/" 2>/dev/null || true
  [ -z "$server" ] || { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; } || true
  rm -rf "$work"
}
trap cleanup EXIT
# The updater's copy, its downloads and the program's lock stay in here.
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state"
export QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$work/run"
ulog="$XDG_CACHE_HOME/program-updater/updater.log"

until_true() {  # <what> <command...>: retried for two minutes at most
  local what="$1" deadline=$((SECONDS + 120))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || { echo "gave up waiting for $what"; tail -20 "$work"/*.log "$ulog"; return 1; }
    sleep 0.2
  done
}
fingerprint() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }

# This build's portable folder, unpacked and branded.
"$cpack" -G TGZ --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" ||
  { cat "$work/cpack.log"; exit 1; }
tarball="$(ls "$work"/out/rssfeedzolt-*-Linux.tar.gz)"
top="$(basename "$tarball" .tar.gz)"
newtop="${top/-${ZOLT_VERSION:?}-/-9.5-}"
mkdir "$work/user" "$work/new" "$work/site"
tar -xzf "$tarball" -C "$work/user"
folder="$work/user/$top"
[ -x "$folder/bin/Updater" ] || { echo "the portable folder holds no bin/Updater"; exit 1; }

port="$(php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); $n = stream_socket_get_name($s, false); echo substr($n, strrpos($n, ":") + 1);')"
site="http://127.0.0.1:$port/liveupdate/"
key="$("$brand" update-key "$work/site.key")"
[ "$(stat -c %a "$work/site.key")" = 600 ] || { echo "the secret key is readable by others"; exit 1; }
cat >"$work/brand.txt" <<TEXT
<%%ApplicationName%%>Harbor News Writer<%%/ApplicationName%%>
<%%BranderCode%%>HARBOR<%%/BranderCode%%>
<%%Banner1%%>top.jpg^http://www.example.com/<%%/Banner1%%>
<%%UpdateBaseURL%%>$site<%%/UpdateBaseURL%%>
$key
<%%LastNewsId%%>41<%%/LastNewsId%%>
TEXT
# The update settings are ones the program can use (other warnings aside).
"$brand" check "$work/brand.txt" >"$work/check.log" || [ $? -eq 2 ]
! grep -q "warning: Update" "$work/check.log" || { cat "$work/check.log"; exit 1; }
"$brand" encrypt "$work/brand.txt" "$folder/bin/dbsettings.dat"
"$brand" skin "$src/demo/skin.qss" "$folder/bin/mainskin.dat"
cp "$src/demo/pictures/lantern-banner.jpg" "$folder/bin/banner1.dat"
cp "$src/demo/pictures/main.ico" "$folder/bin/main.ico"
brand_files=(dbsettings.dat mainskin.dat banner1.dat main.ico)
mkdir "$work/brand-before"
for f in "${brand_files[@]}"; do cp "$folder/bin/$f" "$work/brand-before/"; done

# The new version: the same folder under a newer version's name, one file
# added, and a settings file of the maker's own that must never land.
tar -xzf "$tarball" -C "$work/new"
mv "$work/new/$top" "$work/new/$newtop"
echo "new in 9.5" >"$work/new/$newtop/bin/added-in-9.5.txt"
echo "the maker's settings" >"$work/new/$newtop/bin/dbsettings.dat"
mkdir -p "$work/site/liveupdate"
package="$work/site/liveupdate/$newtop.tar.gz"
tar -czf "$package" -C "$work/new" "$newtop"
offer() {  # <key file>: signs the package and describes it
  { printf '[APPLICATION]\r\nName=Harbor News Writer\r\nVersion=9.5\r\n'
    "$brand" update-sign "$1" "$package"; } >"$work/site/liveupdate/mainappupdate.inf"
}
offer "$work/site.key"
php -S "127.0.0.1:$port" -t "$work/site" >"$work/site.log" 2>&1 &
server=$!
until_true "the update site" curl -sf -o /dev/null "${site}mainappupdate.inf"

# As the program starts it: the update site, its version and "A".
run_updater() {  # <log name>
  "$folder/bin/Updater" "$site" "$ZOLT_VERSION" A 2>"$work/$1.log"
}
run_updater updated
until_true "the update to finish" grep -q "updater: Version 9.5 of Harbor News Writer is installed" "$ulog"
until_true "the program to start again" pgrep -f "^$folder/bin/rssfeedzolt" >/dev/null
pkill -f "^$folder/bin/rssfeedzolt"
[ "$(cat "$folder/bin/added-in-9.5.txt")" = "new in 9.5" ] || { echo "the added file is missing"; exit 1; }
for f in "${brand_files[@]}"; do
  cmp "$folder/bin/$f" "$work/brand-before/$f" || { echo "the brand file $f changed"; exit 1; }
done
"$brand" decrypt "$folder/bin/dbsettings.dat" "$work/after.txt"
grep -q '<%%LastNewsId%%>41<%%/LastNewsId%%>' "$work/after.txt" || { echo "the last news id is lost"; exit 1; }
[ ! -e "$folder/.update" ] || { echo "the update's work folder stayed"; exit 1; }
echo "updated: the added file is there, the brand's files are as they were"

# Refused packages change nothing.
refused() {  # <name> <sentence part>
  local before
  before="$(fingerprint "$folder")"
  run_updater "$1"
  until_true "the refusal of $1" grep -q "updater: The package was refused: .*$2" "$ulog"
  pkill -f "$XDG_CACHE_HOME/program-updater/" || true
  [ "$before" = "$(fingerprint "$folder")" ] || { echo "$1 changed the folder"; exit 1; }
  ! pgrep -f "^$folder/bin/rssfeedzolt" >/dev/null || { echo "$1 started the program"; exit 1; }
  echo "refused: $1"
}
cp "$package" "$work/signed.tar.gz"
printf '\x01' | dd of="$package" bs=1 seek=1000 conv=notrunc status=none
refused tampered "SHA-256"
cp "$work/signed.tar.gz" "$package"
"$brand" update-key "$work/other.key" >/dev/null
offer "$work/other.key"
refused "other-key" "not signed with this copy's update key"
