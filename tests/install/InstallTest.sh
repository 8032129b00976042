#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what lands there: exactly
# the expected files, a desktop entry and AppStream metadata their validators
# accept, man pages that render without a warning, and a dump tool that runs.
#
#   InstallTest.sh CMAKE BUILD_DIR VERSION
set -euo pipefail
cmake=$1 build=$2 version=$3

# The checks need these tools; a machine without one fails rather than skips.
for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db; do
  if ! command -v "${tool%%:*}" >/dev/null; then
    echo "FAIL: ${tool%%:*} is missing (Debian package ${tool#*:})" >&2
    exit 1
  fi
done

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

id=io.github.lumentag.Lumentag
diff -u - <(cd "$prefix" && find . -type f -o -type l | sort) <<EOF_FILES
./bin/lumentag
./bin/lumentag-dump
./share/applications/$id.desktop
./share/doc/lumentag/changelog.gz
./share/doc/lumentag/copyright
./share/icons/hicolor/scalable/apps/$id.svg
./share/man/man1/lumentag-dump.1.gz
./share/man/man1/lumentag.1.gz
./share/metainfo/$id.metainfo.xml
EOF_FILES

# Hints count as failures too: the validator prints nothing for a clean file.
hints=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) || true
[ -z "$hints" ] || { echo "$hints" >&2; exit 1; }
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

for page in lumentag lumentag-dump; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page.1: $warnings" >&2; exit 1; }
done

[ "$("$prefix/bin/lumentag-dump" --version)" = "lumentag-dump $version" ]
"$prefix/bin/lumentag-dump" --help | grep -q '^usage: lumentag-dump \[-r\] \[-j N\] \[--json | --jsonl | --csv\] \[--image\] \[--no-progress\]$'
echo "install check passed: $(cd "$prefix" && find . -type f | wc -l) files"
