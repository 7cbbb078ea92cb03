#!/usr/bin/env bash
# The Windows installer, silently, under Wine, in a prefix of this test's
# own: the install puts the programs, the library for integrators, the
# manuals, the Start-menu entries and the uninstall entry in place; the
# installed r40ctl runs, and so does the console, started as its Start-menu
# entry starts it, on an X server of its own; the uninstall leaves no file,
# entry or key behind but the folder of the user's own files.
#   installer_test.sh INSTALLER BASE_PREFIX SOURCE_DIR VERSION
set -uo pipefail
installer=$1 base=$2 source=$3 version=$4

[ -f "$installer" ] || { echo "no installer at $installer"; exit 1; }
command -v wine >/dev/null || { echo "skipped: no wine here"; exit 77; }
[ -f "$base/.r40-prefix-complete" ] ||
  { echo "skipped: no whole Wine prefix at $base (scripts/wine-prefix makes it)"; exit 77; }

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all HOME=$work/home
# Wine would put the Start-menu entries on this machine's desktop menus too.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
xvfb=
cleanup() {
  wineserver -k 2>/dev/null
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$WINEPREFIX" "$HOME"
command -v xdotool >/dev/null || { echo "xdotool is missing (scripts/setup windows)"; exit 1; }
# An X server of the test's own for every program of the prefix, from the
# first: Wine's desktop process serves them all with the display it started on.
mapfile -t server < <("$source/scripts/xvfb-start")
[ "${#server[@]}" = 2 ] || { echo "no X server for the console"; exit 1; }
xvfb=${server[1]}
export DISPLAY=:${server[0]}
# Wine only reads its system files: hard links spare copying them.
cp -al "$base/drive_c" "$WINEPREFIX/"
cp -a "$base/dosdevices" "$base"/*.reg "$base/.update-timestamp" "$WINEPREFIX/"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

folder="$WINEPREFIX/drive_c/Program Files/R40 Management Console"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/R40 Management Console"
registry_mentions() { grep -c "R40 Management Console" "$WINEPREFIX/system.reg"; }
before=$(registry_mentions)

wine "$installer" /S || fail "the installer exited $?"
wineserver -w  # the registry is on disk once the server has ended

for file in bin/r40console.exe bin/r40ctl.exe bin/r40-discover.exe bin/r40-receiver-sim.exe \
  bin/devicelib.dll lib/libdevicelib.dll.a lib/devicelib.def include/devicelib/devicelib.h \
  doc/r40console.html doc/r40ctl.html doc/devicelib.html doc/r40-discover.html \
  doc/r40-receiver-sim.html doc/copyright.txt Uninstall.exe; do
  [ -s "$folder/$file" ] || fail "not installed: $file"
done
cmp -s "$folder/include/devicelib/devicelib.h" "$source/devicelib/devicelib.h" ||
  fail "the installed header is not the library's"
grep -q "EXPORTS" "$folder/lib/devicelib.def" || fail "the .def file names no exports"
for link in "R40 Management Console" "r40ctl manual" "devicelib manual" "Uninstall"; do
  [ -f "$menu/$link.lnk" ] || fail "no Start-menu entry \"$link\""
done
uninstall_key='Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\R40 Management Console'
grep -A12 "^\[$uninstall_key\]" "$WINEPREFIX/system.reg" >"$work/key"
grep -q "\"DisplayName\"=\"R40 Management Console $version\"" "$work/key" ||
  fail "no uninstall entry for version $version"
grep -q '"UninstallString"=".*Uninstall.exe' "$work/key" || fail "the entry names no uninstaller"

answer=$(wine "C:\\Program Files\\R40 Management Console\\bin\\r40ctl.exe" --version | tr -d '\r')
[ "$answer" = "r40ctl $version" ] || fail "the installed r40ctl answered \"$answer\""
console='C:\Program Files\R40 Management Console\bin\r40console.exe'
# A windowed program, yet it answers where its caller reads.
answer=$(wine "$console" --version | tr -d '\r')
[ "$answer" = "r40console $version" ] || fail "the installed r40console answered \"$answer\""

# The console started as its Start-menu entry starts it: in the
# installation folder. Its window comes up, and its own files go to the
# user's application data, not to the folder every user shares.
appdata=$(wine cmd /c echo %APPDATA% | tr -d '\r')  # C:\users\<name>\AppData\Roaming
appdata=${appdata#?:\\}
user_files="$WINEPREFIX/drive_c/${appdata//\\//}/R40 Management Console"
(cd "$folder" && exec wine "$console" </dev/null >"$work/console.log" 2>&1) &
window=
for _ in $(seq 1 120); do  # bounded: 60 s
  window=$(xdotool search --onlyvisible --name "^R40 Management Console\$" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "the installed console showed no window: $(head -c 400 "$work/console.log")"
[ -d "$user_files" ] || fail "the console did not take the user's folder: $user_files"
wineserver -k
wineserver -w

wine "$folder/Uninstall.exe" /S || fail "the uninstaller exited $?"
# The uninstaller runs on from a copy of itself; it is done when the
# folder has gone (bounded: 30 s).
for _ in $(seq 1 60); do
  [ -e "$folder" ] || break
  sleep 0.5
done
wineserver -w
[ -e "$folder" ] && fail "left behind: $(cd "$folder" && find . -mindepth 1 | head -5 | tr '\n' ' ')"
[ -e "$menu" ] && fail "the Start-menu folder is still there"
# The user's own files stay, as an uninstall before an upgrade must keep them.
left=$(find "$WINEPREFIX/drive_c" -iname '*r40*' -not -path "$user_files" | head -5)
[ -z "$left" ] || fail "files left: $left"
[ "$(registry_mentions)" = "$before" ] ||
  fail "registry entries left: $(grep -n 'R40 Management Console' "$WINEPREFIX/system.reg" | head -3)"

[ "$failures" -eq 0 ] && echo "installed, ran and uninstalled without trace"
exit $((failures > 0))
