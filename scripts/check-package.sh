#!/usr/bin/env bash
# Checks a built Debian package as the test command does:
#   bash scripts/check-package.sh dist/nuvask_<version>_<arch>.deb
# - lintian: no errors (every tag it reports is printed);
# - the AppStream metadata (appstreamcli validate) and the menu entry
#   (desktop-file-validate) of the package's files;
# - the package unpacked into a temporary root (dpkg-deb -x): every library
#   the program needs is found, and the unpacked program, started on a
#   private Xvfb display with private XDG folders, opens its setup window.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "${1:?usage: $0 PACKAGE.deb}")
. scripts/services.sh
trap services_stop_all EXIT
trap 'exit 130' INT TERM

echo "-- lintian"
lintian --display-info "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "lintian reports errors" >&2; exit 1; }

root="$SERVICES_WORK/root"
dpkg-deb -x "$deb" "$root"
echo "-- metainfo and menu entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$root/usr/share/applications/nuvask.desktop"

echo "-- the unpacked program"
program="$root/usr/bin/nuvask"
missing=$(ldd "$program" | grep 'not found' || true)
[ -z "$missing" ] || { echo "libraries not found: $missing" >&2; exit 1; }
services_start_xvfb
home="$SERVICES_WORK/home"
mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
# In Japanese, as every test checks its texts, whatever the machine's locale.
env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
  NUVASK_LANG=ja DISPLAY="$NUVASK_TEST_DISPLAY" QT_QPA_PLATFORM=xcb "$program" >"$SERVICES_WORK/program.log" 2>&1 &
app=$!
SERVICES_PIDS+=("$app")
title="DORIVA SOUND ボリューム V2.3 登録"
if ! DISPLAY="$NUVASK_TEST_DISPLAY" timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" >/dev/null; then
  echo "the unpacked program showed no setup window:" >&2
  cat "$SERVICES_WORK/program.log" >&2
  exit 1
fi
kill -0 "$app" || { echo "the unpacked program ended" >&2; exit 1; }
shot="$(dirname "$deb")/package-setup-window.png"
import -display "$NUVASK_TEST_DISPLAY" -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
echo "setup window \"$title\" open (process $app)"
