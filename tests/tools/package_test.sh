#!/usr/bin/env bash
# The Debian package as cpack makes it: lintian finds no error, desktop entry
# and metainfo validate, and the program unpacked into a temporary root
# starts from its read-only folder. A reseller's branded package, made by
# zolt-brand package, shows the balloon of the reference news server at the
# first start and none at the second once the message is read; nothing is
# written into the unpacked root, the last news read goes to
# $XDG_STATE_HOME/rssfeedzolt/.
#   package_test.sh CPACK BUILD-DIR SOURCE-DIR ZOLT-BRAND MARK-NEWS-READ
# It runs in a network namespace of its own, so that the started program's
# live-update check reaches nothing outside this machine; exit 77 (skipped)
# without dpkg-deb or where no namespace can be made.
set -euo pipefail
cpack="$1" build="$2" src="$3" brand="$4" markread="$5"
if [ -z "${ZOLT_OWN_NETWORK:-}" ]; then
  command -v dpkg-deb >/dev/null || { echo "skipped: no dpkg-deb to build the package with"; exit 77; }
  if ! unshare -rn true 2>/dev/null; then
    echo "skipped: no network namespace (unshare -rn) to keep the update check off the network"
    exit 77
  fi
  ZOLT_OWN_NETWORK=1 exec unshare -rn bash "$0" "$@"
fi
ip link set lo up

work="$(mktemp -d)"
server="" repo_server=""
cleanup() {
  [ -z "$server" ] || { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; } || true
  [ -z "$repo_server" ] || { kill "$repo_server" 2>/dev/null; wait "$repo_server" 2>/dev/null; } || true
  [ ! -d "$work/gnupg" ] || GNUPGHOME="$work/gnupg" gpgconf --kill all || true
  chmod -R u+w "$work" && rm -rf "$work"
}
trap cleanup EXIT

within_a_minute() {  # runs the command until it succeeds, for a minute at most
  local deadline=$((SECONDS + 60))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || { echo "gave up after a minute: $*"; return 1; }
    sleep 0.1
  done
}

# The package and what Debian's tools say about it.
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" ||
  { cat "$work/cpack.log"; exit 1; }
deb="$work/out/rssfeedzolt_${ZOLT_VERSION:?}_$(dpkg --print-architecture).deb"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "no shlibdeps dependencies"; exit 1; }
[ "$(dpkg-deb -f "$deb" Recommends)" = "php-cli, php-curl, php-xml, php-mbstring, fonts-liberation2" ]
echo "lintian:" && lintian --tag-display-limit 0 "$deb"
# One version: the package's metainfo, changelog and manual pages carry the project's.
dpkg-deb -x "$deb" "$work/base"
grep -q "<release version=\"$ZOLT_VERSION\" " "$work/base/usr/share/metainfo/com.rssfeedzolt.rssfeedzolt.metainfo.xml"
zcat "$work/base/usr/share/doc/rssfeedzolt/changelog.gz" | head -1 | grep -qF "rssfeedzolt ($ZOLT_VERSION) "
for page in rssfeedzolt zolt-brand; do
  zcat "$work/base/usr/share/man/man1/$page.1.gz" | head -1 | grep -qF "\"rssfeedzolt $ZOLT_VERSION\""
done
root="$work/root"
dpkg-deb -x "$deb" "$root"

# The reference news server from the package, with one message for the brand.
news="$root/usr/share/rssfeedzolt/server/news"
docroot="$news" && [ -f "$news/public/getlastnews.php" ] && docroot="$news/public"
admin=(php "$(find "$news" -name admin.php | head -n 1)" "--dsn=sqlite:$work/news.db")
"${admin[@]}" init >/dev/null
"${admin[@]}" add-publisher PKG-M1 Master >/dev/null
"${admin[@]}" add-product ZOLT-PKG >/dev/null
id="$("${admin[@]}" add-news PKG-M1 ZOLT-PKG "Packaged news" "" - <<<"<p>Hello</p>")"
port="$(php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); $n = stream_socket_get_name($s, false); echo substr($n, strrpos($n, ":") + 1);')"
ZOLT_NEWS_DSN="sqlite:$work/news.db" php -S "127.0.0.1:$port" -t "$docroot" >"$work/news.log" 2>&1 &
server=$!

# A reseller's brand without welcome page, so that the start-up check runs.
mkdir "$work/brand"
cat >"$work/brand.txt" <<TEXT
<%%ApplicationName%%>Packaged Brand<%%/ApplicationName%%>
<%%BranderCode%%>ZOLT-PKG<%%/BranderCode%%>
<%%BranderType%%>Master<%%/BranderType%%>
<%%MasterNewsBaseURL%%>http://127.0.0.1:$port/<%%/MasterNewsBaseURL%%>
<%%MasterPublID%%>PKG-M1<%%/MasterPublID%%>
<%%AppHelpURL%%>https://www.packaged-brand.example/help<%%/AppHelpURL%%>
<%%CopyrightCompany%%>Packaged Brand & Sons <test><%%/CopyrightCompany%%>
<%%AboutText%%>Packaged Brand writes the PHP code that shows live news
and eBay items on your own web pages.<%%/AboutText%%>
<%%Banner1%%>top.jpg^http://www.example.com/<%%/Banner1%%>
TEXT
"$brand" encrypt "$work/brand.txt" "$work/brand/dbsettings.dat"
"$brand" skin "$src/demo/skin.qss" "$work/brand/mainskin.dat"
cp "$src/demo/pictures/lantern-banner.jpg" "$work/brand/banner1.dat"
cp "$src/demo/pictures/main.ico" "$work/brand/main.ico"
# A link planted where the package goes is replaced, its target left alone.
echo mine >"$work/victim"
ln -s "$work/victim" "$work/out/packaged-brand_2.01_$(dpkg --print-architecture).deb"
branded="$(cd "$work/out" && "$brand" package --summary "Live news and eBay feeds for \\ your pages" \
  --maintainer "Packaged Brand <packages@packaged-brand.example>" "$work/brand" "$deb")"
[ "$(cat "$work/victim")" = mine ] && [ ! -L "$branded" ] ||
  { echo "the package was written through a link"; exit 1; }
echo "lintian of $(basename "$branded"):" && lintian --tag-display-limit 0 "$branded"
# The brand's package names the brand only: no file, field, page or id of
# the maker, except inside the program itself.
dpkg-deb -R "$branded" "$work/brand-only"
maker="$(cd "$work/brand-only" && find . -type f ! -path ./usr/lib/packaged-brand/packaged-brand \
  -exec sh -c 'zcat -f "$1" | grep -qiE "rssfeedzolt|rss feed zolt|zolt-brand" && echo "$1"' _ {} \;)"
maker="$maker$(cd "$work/brand-only" && find . -iname '*rssfeedzolt*')"
[ -z "$maker" ] || { echo "the brand's package names the maker in: $maker"; exit 1; }
[ "$(dpkg-deb -f "$branded" Maintainer)" = "Packaged Brand <packages@packaged-brand.example>" ]
cmp "$work/brand-only/usr/share/packaged-brand/feedreader.php" "$src/server/feedreader/feedreader.php"
zcat "$work/brand-only/usr/share/man/man1/packaged-brand.1.gz" | grep -q '^\.TH PACKAGED\\-BRAND 1'
grep -q "^Copyright: 20[0-9][0-9] Packaged Brand & Sons <test>$" "$work/brand-only/usr/share/doc/packaged-brand/copyright"
dpkg-deb -x "$branded" "$root"
for name in rssfeedzolt packaged-brand; do
  desktop-file-validate "$root/usr/share/applications/$name.desktop"
  grep -qx "StartupWMClass=$name" "$root/usr/share/applications/$name.desktop"
done
grep -qx 'Name=Packaged Brand' "$root/usr/share/applications/packaged-brand.desktop"
[ -s "$root/usr/share/icons/hicolor/256x256/apps/packaged-brand.png" ]
[ -f "$root/usr/share/metainfo/example.packaged_brand.packaged_brand.metainfo.xml" ]
for file in dbsettings.dat banner1.dat mainskin.dat main.ico; do
  cmp "$root/usr/lib/packaged-brand/$file" "$work/brand/$file"
done
[ -x "$root/usr/lib/packaged-brand/packaged-brand" ] && [ -f "$root/usr/lib/packaged-brand/installed-by-package" ]
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml

# Started read-only from the unpacked root.
chmod -R a-w "$root"
before="$(cd "$root" && find . -printf '%p %s %T@\n' | sort)"
start() {  # start LOG PROGRAM: runs it until its start-up news check is done
  env -i PATH="$PATH" HOME="$work/home" XDG_STATE_HOME="$work/state" QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES="zolt.news.info=true" "$2" >"$1" 2>&1 &
  local pid=$!
  within_a_minute grep -qs "start-up news check:" "$1" || { cat "$1"; kill "$pid"; return 1; }
  kill "$pid" && wait "$pid" 2>/dev/null || true
}
asked() {  # asked N: the news server has answered N newest-id requests at least
  [ "$(grep -c '\[200\]: POST /getlastnews.php' "$work/news.log")" -ge "$1" ]
}
within_a_minute php -r "exit(@fsockopen('127.0.0.1', $port) ? 0 : 1);"
start "$work/plain.log" "$root/usr/bin/rssfeedzolt"
grep -q "start-up news check: nothing new" "$work/plain.log"
start "$work/first.log" "$root/usr/bin/packaged-brand"
grep -q "start-up news check: 1 new" "$work/first.log" || { cat "$work/first.log"; exit 1; }
within_a_minute asked 1
XDG_STATE_HOME="$work/state" "$markread" "$root/usr/lib/packaged-brand/" "$id"
[ "$(ls "$work/state/rssfeedzolt" 2>&1)" = "ZOLT-PKG" ] ||
  { echo "the last news read is not in the brand's state file"; ls -R "$work/state"; exit 1; }
start "$work/second.log" "$root/usr/bin/packaged-brand"
grep -q "start-up news check: nothing new" "$work/second.log" || { cat "$work/second.log"; exit 1; }
within_a_minute asked 2  # the server was asked: nothing new is not a failed request
[ "$(cd "$root" && find . -printf '%p %s %T@\n' | sort)" = "$before" ] ||
  { echo "the program wrote into its folder"; exit 1; }

# The brand's own apt repository, checked with apt on a private root (its own
# state, lists, sources and keyrings): nothing of the machine's apt changes.
# Two keys, each with a password, which zolt-brand reads from a file.
export GNUPGHOME="$work/gnupg"
mkdir -m 700 "$GNUPGHOME"
for who in brand other; do
  gpg --batch --pinentry-mode loopback --passphrase "pw-$who" \
    --quick-gen-key "$who <$who@packaged-brand.example>" ed25519 sign never 2>/dev/null
  gpg --batch --pinentry-mode loopback --passphrase "pw-$who" --armor \
    --export-secret-keys "$who@packaged-brand.example" >"$work/$who.sec"
  printf 'pw-%s\n' "$who" >"$work/$who.pass"
done
gpg --armor --export brand@packaged-brand.example >"$work/brand.asc"
unset GNUPGHOME
repo="$work/repo"
repo_port="$(php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); $n = stream_socket_get_name($s, false); echo substr($n, strrpos($n, ":") + 1);')"
mkdir -p "$repo" "$work/v2.01" "$work/v2.02"
php -S "127.0.0.1:$repo_port" -t "$repo" >"$work/repo.log" 2>&1 &
repo_server=$!
# Version 2.02 of the base package, as the maker's next release.
dpkg-deb -R "$deb" "$work/base-2.02"
sed -i 's/^Version: .*/Version: 2.02/' "$work/base-2.02/DEBIAN/control"
dpkg-deb --root-owner-group -b "$work/base-2.02" "$work/base-2.02.deb" >/dev/null
for version in 2.01 2.02; do
  base_deb="$deb" && [ "$version" = 2.01 ] || base_deb="$work/base-$version.deb"
  (cd "$work/v$version" && "$brand" package --maintainer "Packaged Brand <packages@packaged-brand.example>" \
     --repository "http://127.0.0.1:$repo_port/" --key "$work/brand.asc" "$work/brand" "$base_deb" >/dev/null 2>&1)
done
with_repo="$work/v2.01/packaged-brand_2.01_$(dpkg --print-architecture).deb"
echo "lintian of $(basename "$with_repo") with its repository:" && lintian --tag-display-limit 0 "$with_repo"
"$brand" repository --password-file "$work/brand.pass" "$repo" "$work/brand.sec" "$with_repo" >/dev/null
dpkg-deb -R "$with_repo" "$work/with-repo"
[ -f "$work/with-repo/usr/lib/packaged-brand/updates-from-repository" ]
aptroot="$work/aptroot"
mkdir -p "$aptroot/etc/apt/apt.conf.d" "$aptroot/etc/apt/preferences.d" "$aptroot/var/lib/apt/lists/partial" \
  "$aptroot/var/cache/apt/archives/partial" "$aptroot/var/lib/dpkg"
touch "$aptroot/etc/apt/sources.list"
printf 'Package: packaged-brand\nStatus: install ok installed\nVersion: 2.01\nArchitecture: %s\nMaintainer: M <m@x>\nDescription: d\n' \
  "$(dpkg --print-architecture)" >"$aptroot/var/lib/dpkg/status"
# The package's own script writes its sources entry into the private root;
# its keyring is read where the unpacked package has it.
DPKG_ROOT="$aptroot" sh "$work/with-repo/DEBIAN/postinst" configure
sed -i "s#^Signed-By: #Signed-By: $work/with-repo#" "$aptroot/etc/apt/sources.list.d/packaged-brand.sources"
apt_root() {
  "$1" -o Dir="$aptroot" -o Dir::State::status="$aptroot/var/lib/dpkg/status" \
    -o Dir::Etc::TrustedParts="$aptroot/etc/apt/trusted.gpg.d" -o APT::Sandbox::User=root -o Debug::NoLocking=1 "${@:2}"
}
apt_root apt-get update >"$work/apt1.log" 2>&1 || { cat "$work/apt1.log"; echo "apt refused the repository"; exit 1; }
! grep -E '^(W|E):' "$work/apt1.log" || { echo "apt warned about the repository"; exit 1; }
# Read whole before grep: with pipefail, grep -q ending early fails the pipe.
policy="$(apt_root apt-cache policy packaged-brand)"
grep -q 'Candidate: 2.01' <<<"$policy" || { echo "$policy"; echo "the repository offers no 2.01"; exit 1; }
"$brand" repository --password-file - "$repo" "$work/brand.sec" "$work/v2.02/packaged-brand_2.02_$(dpkg --print-architecture).deb" \
  <"$work/brand.pass" >/dev/null
apt_root apt-get update >"$work/apt2.log" 2>&1 || { cat "$work/apt2.log"; exit 1; }
# The private status holds 2.01 without its dependencies, so apt offers
# 2.02 as the candidate but keeps it back from a simulated upgrade.
policy="$(apt_root apt-cache policy packaged-brand)"
tr -d '\n' <<<"$policy" | grep -q 'Installed: 2.01 *Candidate: 2.02' ||
  { echo "$policy"; echo "apt offers no newer version"; exit 1; }
# Signed by another key: apt refuses the lists, from a root that has none yet.
"$brand" repository --password-file "$work/other.pass" "$repo" "$work/other.sec" "$with_repo" >/dev/null
find "$aptroot/var/lib/apt/lists" -type f -delete
apt_root apt-get update >"$work/apt3.log" 2>&1 || true
policy="$(apt_root apt-cache policy packaged-brand)"
if ! grep -q NO_PUBKEY "$work/apt3.log" || grep -q 'Candidate: 2.02' <<<"$policy"; then
  cat "$work/apt3.log"; echo "apt took a repository signed by another key"; exit 1
fi
echo "debian package: 1 passed, 0 failed"
