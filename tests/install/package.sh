#!/usr/bin/env bash
# The Debian package, built from the built tree and unpacked without root: its name, its files,
# no maintainer scripts (a package must never touch the users' home folders), and its desktop
# entry, AppStream metadata and the whole package checked by desktop-file-validate, appstreamcli
# and lintian (errors and warnings fail) where they are installed.
# Usage: package.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1 build=$2 version=$3
. "$(dirname "$0")/common.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

pack "$cpack" "$build" DEB "$tmp/pack" "$tmp/log"
deb=$tmp/pack/formtide_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$tmp/pack")"
dpkg-deb -x "$deb" "$tmp/root"
dpkg-deb -e "$deb" "$tmp/control"

diff - <(cd "$tmp/root" && find . ! -type d | sort) <<EOF || fail "the package's files differ from the list (above)"
./usr/bin/formtide
./usr/bin/formtide-fill
./usr/share/applications/com.formtide.formtide.desktop
./usr/share/doc/formtide/changelog.gz
./usr/share/doc/formtide/copyright
./usr/share/formtide/formtidehelp.html
./usr/share/formtide/padok.txt
./usr/share/icons/hicolor/128x128/apps/formtide.png
./usr/share/icons/hicolor/16x16/apps/formtide.png
./usr/share/icons/hicolor/256x256/apps/formtide.png
./usr/share/icons/hicolor/32x32/apps/formtide.png
./usr/share/icons/hicolor/48x48/apps/formtide.png
./usr/share/icons/hicolor/64x64/apps/formtide.png
./usr/share/icons/hicolor/scalable/apps/formtide.svg
./usr/share/man/man1/formtide-fill.1.gz
./usr/share/man/man1/formtide.1.gz
./usr/share/metainfo/com.formtide.formtide.metainfo.xml
EOF
[ "$(cd "$tmp/control" && ls | sort | xargs)" = "control md5sums" ] || fail "maintainer scripts in the package: $(ls "$tmp/control")"
grep -q '^Depends:.*libqt6webenginewidgets6.*libqt6webenginecore6-bin\|^Depends:.*libqt6webenginecore6-bin.*libqt6webenginewidgets6' \
    "$tmp/control/control" || fail "dependencies not found from the binaries: $(grep ^Depends "$tmp/control/control")"

share=$tmp/root/usr/share
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$share/applications/com.formtide.formtide.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/com.formtide.formtide.metainfo.xml" || fail "appstreamcli validate"
fi
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" 2> >(grep -v 'root privileges' >&2) || fail "lintian"
fi
echo "package: $(basename "$deb") holds the installed layout and passes its checks"
