#!/usr/bin/env bash
# The news server as deployed: server/news/deploy/local-server runs nginx with
# the shipped site and php-fpm with the shipped pool, on the database of
# ZOLT_NEWS_DSN (run it inside tests/server/with-news-db), filled by admin.php.
set -euo pipefail
export LC_ALL=C
news="$(cd "$(dirname "$0")/../../server/news" && pwd)"
state="$(mktemp -d)"
# What the run must leave as it was: the system's nginx and PHP files.
system_files() { find /etc/nginx /etc/php -printf '%p %u:%g %m\n' 2>/dev/null | sort; }
before="$(system_files)"
trap '"$news/deploy/local-server" stop "$state"; rm -rf "$state"' EXIT

admin() { php "$news/admin.php" "$@" >/dev/null; }
admin init
admin add-publisher PUBG Gold
admin add-product BRAND1
printf '<p>Hi</p>' | admin add-news PUBG BRAND1 Hello 2026-12-09 -
base="$("$news/deploy/local-server" start "$state")"

passed=0 failed=0
check() {  # check <name> <expected> <actual>
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1)); echo "ok   $1"
  else
    failed=$((failed + 1)); echo "FAIL $1: expected $(printf %q "$2"), got $(printf %q "$3")"
  fi
}
# post <script> <fourth field> [user]: a form as the program sends it.
post() {
  curl -sS -A 'Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)' -H 'Accept: text/html, */*' \
    -F "memusername=${3:-PUBG}" -F prodcode=BRAND1 -F prodtype=BG -F "$2" -F newstarget=UA -F something= \
    "$base$1"
}
check lastcode $'1^Hello\xafOK' "$(post getlastnews.php conttype=lastcode)"
check all $'1^Hello^2026-12-09\xafOK' "$(post getlastnews.php conttype=all)"
check details $'$3Cp$3EHi$3C$2Fp$3E\xafOK' "$(post getnewsdetails.php newsid=1)"
check "unknown publisher" INVALIDUSER "$(post getlastnews.php conttype=all NOBODY)"
check "GET is refused" "INVALIDREQUEST 405" "$(curl -s -w ' %{http_code}' "${base}getlastnews.php")"
check "text/plain without a charset" "text/plain" \
  "$(curl -s -o /dev/null -w '%{content_type}' -F conttype=all "${base}getlastnews.php")"

# Nothing but the two request scripts is there to fetch (a 4xx status).
for path in "" admin.php config.php lib/Protocol.php lib/autoload.php data/news.db ../config.php ../data/news.db \
            getlastnews.php/x.php public/getlastnews.php; do
  check "nothing at /$path" refused \
    "$(curl -s -o /dev/null --path-as-is -w '%{http_code}' "$base$path" | sed 's/^4[0-9][0-9]$/refused/')"
done

pids="$(cat "$state/nginx.pid" "$state/php-fpm.pid")"
"$news/deploy/local-server" stop "$state"
check "stopped" "" "$(for p in $pids; do kill -0 "$p" 2>/dev/null && echo "$p runs"; done)"
check "port closed" 000 "$(curl -s -o /dev/null -w '%{http_code}' "$base" || true)"
check "system files keep owners and modes" "" "$(diff <(echo "$before") <(system_files) || true)"
# An SQLite file's folder stays its owner's: only the file goes to the server account.
db="${ZOLT_NEWS_DSN#sqlite:}"
if [ "$(id -u)" -eq 0 ] && [ "$db" != "$ZOLT_NEWS_DSN" ]; then
  chown root: "$(dirname "$db")"
  "$news/deploy/local-server" start "$state" >/dev/null 2>&1
  "$news/deploy/local-server" stop "$state"
  check "database folder keeps its owner" root "$(stat -c %U "$(dirname "$db")")"
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
