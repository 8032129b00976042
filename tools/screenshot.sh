#!/usr/bin/env bash
# tools/screenshot.sh FILE OUT.png
# Starts the viewer window on a virtual X display (Xvfb), opens FILE through
# its open dialog and saves a picture of the window for each tab shown as
# OUT-0.png ... OUT-8.png, and OUT-9.png (XMP) and OUT-10.png (IPTC) while
# the file has rows for them. Set QT_SCALE_FACTOR=2 to see it at 200 %.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: tools/screenshot.sh FILE OUT.png" >&2
  exit 2
fi
FILE=$(realpath -- "$1")
OUT=$(realpath -m -- "$2")
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target lumentag-screenshots >/dev/null
mkdir -p "$(dirname "$OUT")"
xvfb-run -a -s "-screen 0 1920x1400x24 -dpi 96" build/lumentag-screenshots "$FILE" "$OUT" 2> >(grep -v XDG_RUNTIME_DIR >&2)
