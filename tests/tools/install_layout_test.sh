#!/usr/bin/env bash
# cmake --install of this build lays out the bundle a reseller ships.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
failed=0
for f in bin/rssfeedzolt bin/Updater bin/zolt-brand share/rssfeedzolt/server/feedreader/feedreader.php \
         share/rssfeedzolt/server/news/public/getlastnews.php share/rssfeedzolt/server/news/admin.php \
         share/rssfeedzolt/server/news/deploy/nginx-site.conf share/rssfeedzolt/server/news/deploy/apache-site.conf \
         share/applications/rssfeedzolt.desktop share/icons/hicolor/64x64/apps/rssfeedzolt.png \
         share/rssfeedzolt/demo/brand-settings.txt share/man/man1/zolt-brand.1.gz \
         share/icons/hicolor/scalable/apps/rssfeedzolt.svg share/doc/rssfeedzolt/copyright; do
  [ -s "$prefix/$f" ] || { echo "missing: $f"; failed=1; }
done
[ -x "$prefix/share/rssfeedzolt/demo/make-bundle" ] || { echo "make-bundle not executable"; failed=1; }
[ -x "$prefix/share/rssfeedzolt/server/news/deploy/local-server" ] || { echo "local-server not executable"; failed=1; }
# The package's own parts: a folder install is never taken for a package install.
[ -e "$prefix/lib/rssfeedzolt" ] && { echo "the package's program folder was installed"; failed=1; }
ls "$prefix"/share/rssfeedzolt/server/news/data/*.db >/dev/null 2>&1 && { echo "a database was installed"; failed=1; }
exit $failed
