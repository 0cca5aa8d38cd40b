#!/usr/bin/env bash
# The portable folder under Wine, on the windows platform on Xvfb: unzipped
# as a user gets it, its program shows the main window "RSS Feed Zolt" with a
# 778x552 client area; branded with the demo brand (settings encrypted by the
# folder's own zolt-brand.exe) it shows "Lantern Feeds v2.01" with its welcome
# page, and Make Money hands exactly the affiliate address to the browser
# registered under HKEY_CLASSES_ROOT\http\shell\open\command.
#   portable_smoke_test.sh BUILD-FOLDER      (WINEPREFIX: a made prefix to copy)
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
