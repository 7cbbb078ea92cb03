#!/usr/bin/env bash
# The Windows installer, silently, under Wine, in a prefix of this test's
# own: the install puts the programs, the library for integrators, the
# manuals, the Start-menu entries and the uninstall entry in place; the
# installed r40ctl runs; the uninstall leaves no file, entry or key behind.
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
cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$WINEPREFIX" "$HOME"
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

for file in bin/r40ctl.exe bin/r40-discover.exe bin/r40-receiver-sim.exe bin/devicelib.dll \
  lib/libdevicelib.dll.a lib/devicelib.def include/devicelib/devicelib.h \
  doc/r40ctl.html doc/devicelib.html doc/r40-discover.html doc/r40-receiver-sim.html \
  doc/copyright.txt Uninstall.exe; do
  [ -s "$folder/$file" ] || fail "not installed: $file"
done
cmp -s "$folder/include/devicelib/devicelib.h" "$source/devicelib/devicelib.h" ||
  fail "the installed header is not the library's"
grep -q "EXPORTS" "$folder/lib/devicelib.def" || fail "the .def file names no exports"
links=("r40ctl manual" "devicelib manual" "Uninstall")
[ -f "$folder/bin/r40console.exe" ] && links+=("R40 Management Console")
for link in "${links[@]}"; do
  [ -f "$menu/$link.lnk" ] || fail "no Start-menu entry \"$link\""
done
uninstall_key='Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\R40 Management Console'
grep -A12 "^\[$uninstall_key\]" "$WINEPREFIX/system.reg" >"$work/key"
grep -q "\"DisplayName\"=\"R40 Management Console $version\"" "$work/key" ||
  fail "no uninstall entry for version $version"
grep -q '"UninstallString"=".*Uninstall.exe' "$work/key" || fail "the entry names no uninstaller"

answer=$(wine "C:\\Program Files\\R40 Management Console\\bin\\r40ctl.exe" --version | tr -d '\r')
[ "$answer" = "r40ctl $version" ] || fail "the installed r40ctl answered \"$answer\""

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
left=$(find "$WINEPREFIX/drive_c" -iname '*r40*' | head -5)
[ -z "$left" ] || fail "files left: $left"
[ "$(registry_mentions)" = "$before" ] ||
  fail "registry entries left: $(grep -n 'R40 Management Console' "$WINEPREFIX/system.reg" | head -3)"

[ "$failures" -eq 0 ] && echo "installed, ran and uninstalled without trace"
exit $((failures > 0))
