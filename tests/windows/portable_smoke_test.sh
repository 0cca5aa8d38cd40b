#!/usr/bin/env bash
# The portable folder under Wine, on the windows platform on Xvfb: unzipped
# as a user gets it, its program shows the main window "RSS Feed Zolt" with a
# 778x552 client area; branded with the demo brand (settings encrypted by the
# folder's own zolt-brand.exe) it shows "Lantern Feeds v2.01" with its welcome
# page, and Make Money hands exactly the affiliate address to the browser
# registered under HKEY_CLASSES_ROOT\http\shell\open\command. Then the
# installers run silently (see the end).
#   portable_smoke_test.sh BUILD-FOLDER      (WINEPREFIX: a made prefix to copy;
#   ZOLT_HOST_BRAND_TOOL: a zolt-brand for this machine, for the brand's installer)
set -euo pipefail
build="$1"
root="$(cd "$(dirname "$0")/../.." && pwd)"
tmp="$(mktemp -d)"
xvfb=""
cleanup() {
  WINEPREFIX="$tmp/prefix" timeout 30 wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "smoke test: FAIL: $*" >&2; exit 1; }

zip="$(ls "$build"/RSSFeedZolt-*-win64.zip)"
unzip -q "$zip" -d "$tmp/portable"
folder="$(ls -d "$tmp"/portable/RSSFeedZolt-*-win64)"
# A prefix of its own: the test registers a browser in it.
cp -a "${WINEPREFIX:?a made Wine prefix}" "$tmp/prefix"
export WINEPREFIX="$tmp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH  # the folder must carry its own DLLs

display=$((100 + RANDOM % 800))
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X$display" ] || fail "Xvfb did not start"
export DISPLAY=":$display"
probe="$build/tests/zolt-window-probe.exe"

# The plain folder.
(cd "$tmp" && timeout 120 wine "$folder/rssfeedzolt.exe" >"$tmp/plain.log" 2>&1) &
app=$!
out="$(timeout 90 wine "$probe" "RSS Feed Zolt" 60000 | tr -d "\r")" || fail "no main window: $out $(cat "$tmp/plain.log")"
[ "$out" = "client 778x552" ] || fail "plain folder: $out"
echo "smoke test: plain folder shows \"RSS Feed Zolt\", $out"
timeout 30 wineserver -k || true
wait "$app" || true

# The branded folder, made with the folder's own zolt-brand.exe.
branded="$tmp/branded"
cp -a "$folder" "$branded"
sed "s#<%%MasterNewsBaseURL%%>.*<%%/MasterNewsBaseURL%%>#<%%MasterNewsBaseURL%%>http://127.0.0.1:9/<%%/MasterNewsBaseURL%%>#" \
  "$root/demo/brand-settings.txt" > "$tmp/brand.txt"
(cd "$tmp" && timeout 120 wine "$branded/zolt-brand.exe" encrypt brand.txt "$(winepath -w "$branded/dbsettings.dat")") \
  || fail "zolt-brand.exe did not encrypt the settings"
cp "$root/demo/pictures/lantern-banner.gif" "$branded/banner1.dat"
cp "$root/demo/pictures/main.ico" "$branded/main.ico"

fake="$tmp/browser/zolt-fake-browser.exe"
mkdir -p "$tmp/browser"
cp "$build/tests/zolt-fake-browser.exe" "$fake"
timeout 60 wine reg add 'HKCR\http\shell\open\command' /ve /f \
  /d "\"$(winepath -w "$fake")\" -osint -url \"%1\"" >/dev/null 2>&1 || fail "reg add"

(cd "$tmp" && timeout 120 wine "$branded/rssfeedzolt.exe" >"$tmp/branded.log" 2>&1) &
app=$!
# The welcome page's button ("Thanks, just show me ...") at the foot of the
# window, then Make Money in the main page's tool bar.
out="$(timeout 90 wine "$probe" "Lantern Feeds v2.01" 60000 388 531 340 16 | tr -d "\r")" ||
  fail "no branded window: $out $(cat "$tmp/branded.log")"
[ "$out" = "client 778x552" ] || fail "branded folder: $out"
echo "smoke test: branded folder shows \"Lantern Feeds v2.01\", $out"
for _ in $(seq 300); do [ -s "$tmp/browser/received.txt" ] && break; sleep 0.1; done
expected="http://www.example.com/lantern/partners/?aff=DEMO42"
received="$(tr -d "\r" < "$tmp/browser/received.txt" 2>/dev/null || true)"
[ "$received" = "$expected" ] || fail "the browser received \"$received\", not \"$expected\""
echo "smoke test: Make Money handed \"$received\" to the registered browser"

# The installers, run silently as an administrator would: the program's own
# and, when a zolt-brand for this machine is given, the brand's one made
# from the branded folder. Each installs under Program Files, shows in
# "Apps", starts, and its uninstaller takes back what it installed.
timeout 30 wineserver -k || true
wait "$app" 2>/dev/null || true
programs="$WINEPREFIX/drive_c/Program Files"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
wait_gone() { for _ in $(seq 300); do [ -e "$1" ] || return 0; sleep 0.1; done; return 1; }
installer="$(ls "$build"/RSSFeedZolt-*-win64.exe)"
timeout 300 wine "$installer" /S || fail "the installer failed"
[ -f "$programs/RSS Feed Zolt/rssfeedzolt.exe" ] || fail "the installer put no rssfeedzolt.exe under Program Files"
echo "smoke test: $(basename "$installer") installs under Program Files"
if [ -n "${ZOLT_HOST_BRAND_TOOL:-}" ]; then
  mkdir -p "$tmp/brand"
  cp "$branded/dbsettings.dat" "$branded/banner1.dat" "$branded/main.ico" "$tmp/brand/"
  made="$(cd "$tmp" && "$ZOLT_HOST_BRAND_TOOL" installer brand "$folder")" || fail "zolt-brand installer failed"
  [ "$made" = "$tmp/lantern-feeds-2.01-win64.exe" ] || fail "zolt-brand installer wrote \"$made\""
  timeout 300 wine "$made" /S || fail "the brand's installer failed"
  installed="$programs/Lantern Feeds"
  [ -f "$installed/rssfeedzolt.exe" ] && [ -f "$installed/dbsettings.dat" ] ||
    fail "the brand's installer put no program with its settings under Program Files"
  shown="$(timeout 60 wine reg query "$uninstall_key\\lantern-feeds" /v DisplayName 2>/dev/null | tr -d '\r')"
  [[ "$shown" == *"Lantern Feeds"* ]] || fail "\"Apps\" does not show the brand: $shown"
  (cd "$tmp" && timeout 120 wine "$installed/rssfeedzolt.exe" >"$tmp/installed.log" 2>&1) &
  app=$!
  out="$(timeout 90 wine "$probe" "Lantern Feeds v2.01" 60000 | tr -d "\r")" ||
    fail "the installed brand shows no window: $out $(cat "$tmp/installed.log")"
  timeout 30 wineserver -k || true
  wait "$app" 2>/dev/null || true
  echo "smoke test: $(basename "$made") installs \"Lantern Feeds\", which shows \"Lantern Feeds v2.01\""
  timeout 120 wine "$installed/Uninstall.exe" /S || fail "the brand's uninstaller failed"
  # The uninstaller runs on from a copy of itself; it removes itself last of
  # the files. What the program wrote beside itself at run time stays.
  wait_gone "$installed/Uninstall.exe" || fail "the uninstaller did not finish"
  for f in rssfeedzolt.exe dbsettings.dat main.ico Qt6Core.dll platforms/qwindows.dll; do
    [ ! -e "$installed/$f" ] || fail "the uninstaller left $f"
  done
  for _ in $(seq 100); do
    timeout 60 wine reg query "$uninstall_key\\lantern-feeds" >/dev/null 2>&1 || break
    sleep 0.1
  done
  if timeout 60 wine reg query "$uninstall_key\\lantern-feeds" >/dev/null 2>&1; then
    fail "the uninstaller left the brand in \"Apps\""
  fi
  echo "smoke test: its uninstaller takes back what it installed"
fi

# The updater: a branded portable folder updates itself from a package signed
# with a key made here, the portable zip of this build renamed to version 9.5
# with one file added. The update button, both questions answered with Enter,
# then Updater.exe downloads, checks, replaces and starts the program again;
# the brand's files stay byte for byte. A package with one byte changed and one
# signed by another key are refused and change nothing.
[ -n "${ZOLT_HOST_BRAND_TOOL:-}" ] || exit 0
timeout 30 wineserver -k || true
tool="$ZOLT_HOST_BRAND_TOOL"
upd="$tmp/updating"
cp -a "$folder" "$upd"
port="$(php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); $n = stream_socket_get_name($s, false); echo substr($n, strrpos($n, ":") + 1);')"
site="http://127.0.0.1:$port/liveupdate/"
key="$("$tool" update-key "$tmp/site.key")"
cat >"$tmp/harbor.txt" <<TEXT
<%%ApplicationName%%>Harbor News Writer<%%/ApplicationName%%>
<%%BranderCode%%>HARBOR<%%/BranderCode%%>
<%%Banner1%%>top.jpg^http://www.example.com/<%%/Banner1%%>
<%%UpdateBaseURL%%>$site<%%/UpdateBaseURL%%>
$key
<%%LastNewsId%%>41<%%/LastNewsId%%>
TEXT
"$tool" encrypt "$tmp/harbor.txt" "$upd/dbsettings.dat"
"$tool" skin "$root/demo/skin.qss" "$upd/mainskin.dat"
cp "$root/demo/pictures/lantern-banner.jpg" "$upd/banner1.dat"
cp "$root/demo/pictures/main.ico" "$upd/main.ico"
brand_files=(dbsettings.dat mainskin.dat banner1.dat main.ico)
mkdir "$tmp/brand-before"
for f in "${brand_files[@]}"; do cp "$upd/$f" "$tmp/brand-before/"; done

top="$(basename "$folder")"
newtop="${top/-2.01-/-9.5-}"
mkdir -p "$tmp/new" "$tmp/site/liveupdate"
unzip -q "$zip" -d "$tmp/new"
mv "$tmp/new/$top" "$tmp/new/$newtop"
echo "new in 9.5" >"$tmp/new/$newtop/added-in-9.5.txt"
echo "the maker's settings" >"$tmp/new/$newtop/dbsettings.dat"
package="$tmp/site/liveupdate/$newtop.zip"
(cd "$tmp/new" && zip -qr "$package" "$newtop")
offer() {  # <version> <key file>
  { printf '[APPLICATION]\r\nName=Harbor News Writer\r\nVersion=%s\r\n' "$1"
    "$tool" update-sign "$2" "$package"; } >"$tmp/site/liveupdate/mainappupdate.inf"
}
offer 2.01 "$tmp/site.key"
php -S "127.0.0.1:$port" -t "$tmp/site" >"$tmp/site.log" 2>&1 &
site_server=$!
trap 'kill $site_server 2>/dev/null || true; cleanup' EXIT
ulog() { find "$WINEPREFIX/drive_c/users" -path '*program-updater/updater.log' 2>/dev/null | head -n 1; }
until_seen() {  # <what> <pattern> <file command>
  for _ in $(seq 1200); do
    local file
    file="$($3)"
    [ -n "$file" ] && grep -q "$2" "$file" && return 0
    sleep 0.1
  done
  fail "no $1: $(tail -5 "$tmp/site.log"; f="$(ulog)"; [ -n "$f" ] && tail -5 "$f")"
}
site_log() { echo "$tmp/site.log"; }

(cd "$tmp" && timeout 300 wine "$upd/rssfeedzolt.exe" >"$tmp/updating.log" 2>&1) &
app=$!
out="$(timeout 90 wine "$probe" "Harbor News Writer v2.01" 60000 | tr -d "\r")" ||
  fail "the branded folder shows no window: $out"
# The silent check at start finds nothing newer and says nothing; then the
# site offers 9.5 and the update button finds it.
until_seen "start-up check" "GET /liveupdate/mainappupdate.inf" site_log
offer 9.5 "$tmp/site.key"
timeout 90 wine "$probe" "Harbor News Writer v2.01" 60000 702 18 >/dev/null || fail "no update button"
timeout 90 wine "$probe" "dialog:Harbor News Writer v2.01" 60000 enter >/dev/null || fail "no offer"
timeout 90 wine "$probe" "dialog:Harbor News Writer v2.01" 60000 enter >/dev/null || fail "no close question"
until_seen "installed update" "Version 9.5 of Harbor News Writer is installed" ulog
out="$(timeout 90 wine "$probe" "Harbor News Writer v2.01" 60000 | tr -d "\r")" ||
  fail "the program did not start again: $out"
[ "$(tr -d '\r' <"$upd/added-in-9.5.txt")" = "new in 9.5" ] || fail "the update did not add its file"
for f in "${brand_files[@]}"; do
  cmp -s "$upd/$f" "$tmp/brand-before/$f" || fail "the update changed the brand's $f"
done
"$tool" decrypt "$upd/dbsettings.dat" "$tmp/after.txt"
grep -q '<%%LastNewsId%%>41<%%/LastNewsId%%>' "$tmp/after.txt" || fail "the update lost the last news id"
[ ! -e "$upd/.update" ] || fail "the update left its work folder"
echo "smoke test: the update button and Updater.exe installed 9.5; the brand's files are as they were"
timeout 30 wineserver -k || true
wait "$app" 2>/dev/null || true

fingerprint() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
refused() {  # <name> <sentence part>
  local before
  before="$(fingerprint "$upd")"
  (cd "$tmp" && timeout 300 wine "$upd/Updater.exe" "$site" 2.01 A >/dev/null 2>&1) &
  until_seen "refusal of the $1 package" "The package was refused: .*$2" ulog
  timeout 30 wineserver -k || true
  [ "$before" = "$(fingerprint "$upd")" ] || fail "the $1 package changed the folder"
  echo "smoke test: Updater.exe refuses the $1 package and changes nothing"
}
cp "$package" "$tmp/signed.zip"
printf '\x01' | dd of="$package" bs=1 seek=2000 conv=notrunc status=none
refused tampered "SHA-256"
cp "$tmp/signed.zip" "$package"
"$tool" update-key "$tmp/other.key" >/dev/null
offer 9.5 "$tmp/other.key"
refused "other key's" "not signed with this copy's update key"
