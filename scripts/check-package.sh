#!/usr/bin/env bash
# Checks a built Debian package as the test command does:
#   bash scripts/check-package.sh dist/nuvask_<version>_<arch>.deb
# - lintian: no errors (every tag it reports is printed);
# - the AppStream metadata (appstreamcli validate) and the menu entry
#   (desktop-file-validate) of the package's files;
# - the package installed with dpkg (as root, on a machine where it is not
#   installed: the test container), every library the program needs found,
#   and the installed `nuvask` started with a fresh home folder on a private
#   Xvfb display beside a private sound server: its first window must be the
#   main window (a packaged program never installs itself), the user's menu
#   folder must hold no entry of the program's; with the autostart and
#   desktop launchers made from the Options menu and the program closed,
#   `nuvask /uninstall` with every question answered must leave nothing of
#   the program's in that home, and `dpkg -V` must find the package intact.
# The package is removed again at the end, whatever failed. One check at a
# time installs on a machine (a lock), and a check that was interrupted
# leaves a mark, so that the next one removes what it installed.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "${1:?usage: $0 PACKAGE.deb}")
. scripts/services.sh
INSTALLED_MARK=/var/lib/nuvask-check-package.installed

remove_package() {
  [ -e "$INSTALLED_MARK" ] || return 0
  dpkg --purge nuvask >/dev/null 2>&1 || echo "could not remove the package nuvask" >&2
  rm -f "$INSTALLED_MARK"
}
finish() {
  services_stop_all
  remove_package
}
trap finish EXIT
trap 'exit 130' INT TERM

echo "-- lintian"
lintian --display-info "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "lintian reports errors" >&2; exit 1; }

root="$SERVICES_WORK/root"
dpkg-deb -x "$deb" "$root"
echo "-- metainfo and menu entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
desktop-file-validate "$root/usr/share/applications/nuvask.desktop"

echo "-- the installed package"
[ "$(id -u)" = 0 ] || { echo "installing the package needs root (the test container)" >&2; exit 1; }
exec 9>/var/lock/nuvask-check-package.lock
flock 9
if dpkg-query -W -f='${Status}' nuvask 2>/dev/null | grep -q 'ok installed'; then
  if [ -e "$INSTALLED_MARK" ]; then
    echo "removing the package an interrupted check installed"
    remove_package
  else
    echo "nuvask is installed on this machine: the check installs nothing over it" >&2
    trap - EXIT
    services_stop_all
    exit 1
  fi
fi
touch "$INSTALLED_MARK" # before dpkg: a half-done install is removed too
# Another package tool may hold dpkg's lock for a while.
for attempt in $(seq 60); do
  if out=$(dpkg -i "$deb" 2>&1); then break; fi
  grep -qi 'lock' <<<"$out" && [ "$attempt" -lt 60 ] || { echo "$out" >&2; exit 1; }
  sleep 2
done
program=$(readlink -f /usr/bin/nuvask)
missing=$(ldd "$program" | grep 'not found' || true)
[ -z "$missing" ] || { echo "libraries not found: $missing" >&2; exit 1; }

services_start_pulse
services_start_xvfb
home="$SERVICES_WORK/home"
runtime="$SERVICES_WORK/user-runtime"
mkdir -p "$home" "$runtime" && chmod 700 "$runtime"
# Only HOME: every folder of the program's is found from it. In Japanese, as
# every test checks its texts.
run_nuvask() {
  env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" PULSE_SERVER="$PULSE_SERVER" \
    PULSE_COOKIE="$SERVICES_WORK/.config/pulse/cookie" DISPLAY="$NUVASK_TEST_DISPLAY" QT_QPA_PLATFORM=xcb \
    NUVASK_LANG=ja nuvask "$@" >>"$SERVICES_WORK/program.log" 2>&1 &
  SERVICES_PIDS+=("$!")
  app=$!
}
xdo() { DISPLAY="$NUVASK_TEST_DISPLAY" xdotool "$@"; }
fail() {
  echo "$*" >&2
  cat "$SERVICES_WORK/program.log" >&2
  exit 1
}
# The program's entries in the user's menu folders, one a line.
menu_entries() {
  find "$home/.local/share/applications" "$home/.config/menus" "$home/.local/share/desktop-directories" \
    -mindepth 1 2>/dev/null || true
}

run_nuvask
first=$(DISPLAY="$NUVASK_TEST_DISPLAY" timeout 20 xdotool search --sync --onlyvisible --pid "$app" 2>/dev/null | head -n1) || true
[ -n "$first" ] || fail "the installed program showed no window"
name=$(xdo getwindowname "$first")
[ "$name" = "nuvASK" ] || fail "the first window is \"$name\", not the main window \"nuvASK\""
sleep 2 # the start binds the strips
kill -0 "$app" 2>/dev/null || fail "the program ended after its first window"
[ -z "$(menu_entries)" ] || fail "entries in the user's menu folders: $(menu_entries)"
# What a user asks for: a launcher in autostart ("(S)") and on the desktop
# ("(D)"), from the Options menu.
for key in s d; do
  xdo windowfocus --sync "$first"
  xdo key alt+o
  sleep 0.5
  xdo key "$key"
  sleep 0.5
done
for launcher in "$home/.config/autostart" "$home/Desktop"; do
  ls "$launcher"/*.desktop >/dev/null 2>&1 || fail "the Options menu made no launcher in $launcher"
done
shot="$(dirname "$deb")/package-main-window.png"
import -display "$NUVASK_TEST_DISPLAY" -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
echo "main window first, no menu entry of the user's"
kill -TERM "$app" # closed as the user would close it: the settings are written
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end on SIGTERM"
[ -e "$home/.config/nuvask/registry/HKEY_CURRENT_USER.reg" ] || fail "the program wrote no settings"

echo "-- nuvask /uninstall"
run_nuvask /uninstall
# Enter on each box: the focus starts on "はい" and on the closing "ＯＫ".
for _ in $(seq 100); do
  kill -0 "$app" 2>/dev/null || break
  box=$(xdo search --onlyvisible --pid "$app" 2>/dev/null | tail -n1) || true
  if [ -n "$box" ]; then
    xdo windowfocus "$box" 2>/dev/null || true
    xdo key Return
  fi
  sleep 0.3
done
kill -0 "$app" 2>/dev/null && fail "the uninstall did not end"
left=$(find "$home" -mindepth 1 | sed "s|^$home/||" | sort)
echo "left in the home folder: ${left:-nothing}"
ours=$(grep -iE 'nuvask|keldo|doriva' <<<"$left" || true)
[ -z "$ours" ] || fail "the uninstall left the program's files: $ours"
# Base folders the desktop's libraries share may stay (empty); none else.
others=$(grep -vxE '\.config|\.local|\.local/share|\.cache(/.*)?' <<<"$left" || true)
[ -z "$others" ] || fail "the uninstall left: $others"
dpkg -V nuvask || fail "dpkg -V finds the package changed"
echo "package intact: dpkg -V nuvask"
