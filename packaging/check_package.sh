#!/usr/bin/env bash
# Checks a built r40-console .deb the way an operator and a developer meet
# it: unpacked into a scratch root, its programs run, a C program built
# against its header and library through pkg-config, its files validated,
# and lintian. Fails when any check fails.
#   packaging/check_package.sh DEB [REPORT_DIR]
# REPORT_DIR (default: a temporary folder) receives the lintian output and a
# screenshot of the console started through the menu entry's Exec line.
set -uo pipefail
deb=$(readlink -f "$1")
source_dir=$(cd "$(dirname "$0")/.." && pwd)
report_dir=${2:-}
work=$(mktemp -d)
[ -n "$report_dir" ] || report_dir=$work/report
mkdir -p "$report_dir"
report_dir=$(readlink -f "$report_dir")
root=$work/root
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
libdir=$root/usr/lib/$multiarch
cleanup() {
    rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
# check NAME COMMAND...: runs one check, its output indented below its verdict.
check() {
    local name=$1
    shift
    local started=$SECONDS output
    output=$("$@" 2>&1)
    local status=$?
    if [ "$status" -eq 0 ]; then
        passed=$((passed + 1))
        printf '%-46s ok      %3d s\n' "$name" $((SECONDS - started))
    else
        failed=$((failed + 1))
        printf '%-46s FAILED  %3d s\n' "$name" $((SECONDS - started))
    fi
    [ -n "$output" ] && [ "$status" -ne 0 -o -n "${VERBOSE:-}" ] && printf '%s\n' "$output" | sed 's/^/    /'
    return 0
}

# Runs an installed program from the scratch root, with its own library.
installed() {
    LD_LIBRARY_PATH=$libdir "$@"
}

unpack() {
    dpkg-deb --extract "$deb" "$root" && dpkg-deb --control "$deb" "$work/control"
}

contents() {
    local missing=0 f
    for f in usr/bin/r40console usr/bin/r40ctl usr/bin/r40-discover usr/bin/r40-receiver-sim \
        "usr/lib/$multiarch/libdevicelib.so.1" "usr/lib/$multiarch/libdevicelib.so" \
        "usr/lib/$multiarch/pkgconfig/devicelib.pc" usr/include/devicelib/devicelib.h \
        usr/share/man/man1/r40console.1.gz usr/share/man/man1/r40ctl.1.gz \
        usr/share/man/man1/r40-discover.1.gz usr/share/man/man1/r40-receiver-sim.1.gz \
        usr/share/man/man3/devicelib.3.gz usr/share/man/man3/OpenDevice.3.gz \
        usr/bin/r40-snmp-agent usr/share/man/man8/r40-snmp-agent.8.gz \
        usr/share/snmp/mibs/R40-RECEIVER-MIB.txt usr/lib/systemd/system/r40-snmp-agent.service \
        usr/share/applications/r40-console.desktop usr/libexec/r40-console/r40console-launcher \
        usr/share/icons/hicolor/48x48/apps/r40-console.png \
        usr/share/icons/hicolor/128x128/apps/r40-console.png \
        usr/share/icons/hicolor/256x256/apps/r40-console.png \
        usr/share/metainfo/com.example.r40console.metainfo.xml \
        usr/share/doc/r40-console/copyright usr/share/doc/r40-console/changelog.gz; do
        [ -e "$root/$f" ] || { echo "missing: /$f"; missing=1; }
    done
    local soname
    soname=$(readelf -d "$libdir/libdevicelib.so.1" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
    [ "$soname" = libdevicelib.so.1 ] || { echo "SONAME is '$soname'"; missing=1; }
    for f in preinst postinst prerm postrm config; do
        [ -e "$work/control/$f" ] && { echo "maintainer script: $f"; missing=1; }
    done
    grep -qx 'activate-noawait ldconfig' "$work/control/triggers" ||
        { echo "no ldconfig trigger"; missing=1; }
    # No path of the build machine may be left in what was installed.
    if grep -rlI -e "$source_dir" "$root"; then missing=1; fi
    return $missing
}

# The package, the AppStream release and the changelog name one version.
versions() {
    local package metainfo changelog
    package=$(dpkg-deb --field "$deb" Version)
    metainfo=$(grep -o '<release version="[^"]*"' \
        "$root/usr/share/metainfo/com.example.r40console.metainfo.xml" | head -1 | cut -d'"' -f2)
    changelog=$(zcat "$root/usr/share/doc/r40-console/changelog.gz" | head -1 |
        sed -n 's/^r40-console (\([^)]*\)).*/\1/p')
    echo "package $package, AppStream release $metainfo, changelog $changelog"
    [ "$package" = "$metainfo" ] && [ "$package" = "$changelog" ]
}

r40ctl_version() {
    local out
    out=$(installed "$root/usr/bin/r40ctl" --version) || return 1
    echo "$out"
    grep -qF "$(dpkg-deb --field "$deb" Version)" <<<"$out" || return 1
    # It ran on the package's library, not on one from a build tree.
    LD_TRACE_LOADED_OBJECTS=1 installed "$root/usr/bin/r40ctl" | grep -F "$libdir/libdevicelib.so.1"
}

sim_help() {
    local out
    out=$(installed "$root/usr/bin/r40-receiver-sim" --help) || return 1
    grep -q '^Usage: r40-receiver-sim' <<<"$out"
}

# The SNMP agent runs; its unit starts the installed program and nothing
# enables it (no maintainer script, no .wants link).
snmp_agent() {
    local out unit=$root/usr/lib/systemd/system/r40-snmp-agent.service exec
    out=$(installed "$root/usr/bin/r40-snmp-agent" --version) || return 1
    echo "$out"
    grep -qF "$(dpkg-deb --field "$deb" Version)" <<<"$out" || return 1
    exec=$(sed -n 's/^ExecStart=\([^ ]*\).*/\1/p' "$unit")
    echo "ExecStart: $exec"
    [ -x "$root$exec" ] || return 1
    ! find "$root" -path '*.wants/*' | grep .
}

# pkg-config finds the installed devicelib.pc; the sysroot puts the scratch
# root in front of the paths it gives.
pkg_config() {
    PKG_CONFIG_LIBDIR=$libdir/pkgconfig PKG_CONFIG_SYSROOT_DIR=$root \
        PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 PKG_CONFIG_ALLOW_SYSTEM_LIBS=1 pkg-config "$@" devicelib
}

# The library's C test client, built against the installed header and
# library only, drives the installed emulator in a network namespace.
c_client() {
    mkdir -p "$work/c_client" && cp "$source_dir/tests/ffi/c_client.c" "$work/c_client/" || return 1
    local flags
    flags=$(pkg_config --cflags --libs) || return 1
    echo "pkg-config devicelib: $flags (version $(pkg_config --modversion))"
    # shellcheck disable=SC2086
    cc -std=c99 -Wall -Wextra -Werror -o "$work/c_client/c_client" "$work/c_client/c_client.c" \
        $flags || return 1
    if ! unshare -n true 2>/dev/null; then
        echo "built; not run: no network namespace can be made here (needs root)"
        return 0
    fi
    LD_LIBRARY_PATH=$libdir unshare -n sh -c '
        ip link set lo up
        "$1" --quiet --interval-ms 50 r40@127.0.0.20 & sim=$!
        sleep 0.3
        "$2"; status=$?
        kill $sim; wait $sim
        exit $status' sh "$root/usr/bin/r40-receiver-sim" "$work/c_client/c_client"
}

# The example of the library's manual page compiles and links as printed.
man_example() {
    mkdir -p "$work/example"
    LC_ALL=C MANWIDTH=200 man -l "$root/usr/share/man/man3/devicelib.3.gz" 2>/dev/null |
        sed -n '/^EXAMPLES/,/^FILES/p' | sed '1d;$d' | sed 's/^       //' >"$work/example/example.c"
    grep -q 'int main' "$work/example/example.c" || { echo "no example found"; return 1; }
    # shellcheck disable=SC2046
    cc -std=c11 -Wall -Wextra -Werror -o "$work/example/example" "$work/example/example.c" \
        $(pkg_config --cflags --libs)
}

man_pages() {
    local page out bad=0
    for page in "$root"/usr/share/man/man1/*.gz "$root"/usr/share/man/man3/devicelib.3.gz; do
        out=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -t -ww -z 2>&1)
        if [ -n "$out" ]; then
            echo "${page#"$root"}:"
            echo "$out"
            bad=1
        fi
        LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" >/dev/null 2>&1 || { echo "man -l $page failed"; bad=1; }
    done
    return $bad
}

desktop_entry() {
    desktop-file-validate "$root/usr/share/applications/r40-console.desktop"
}

appstream() {
    appstreamcli validate --no-net --pedantic \
        "$root/usr/share/metainfo/com.example.r40console.metainfo.xml"
}

# Warnings fail too; the ones accepted are overridden in the package, each
# with its reason (packaging/lintian-overrides; --show-overrides lists them).
run_lintian() {
    lintian --fail-on error,warning --info "$deb" 2>&1 |
        grep -v '^running with root privileges' | tee "$report_dir/lintian.txt"
    return "${PIPESTATUS[0]}"
}

# The console started by the menu entry's Exec line (under Xvfb) runs in
# the user's state directory, made for it, and shows its window.
menu_start() {
    local exec_line launcher home=$work/home display
    exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/r40-console.desktop")
    echo "Exec=$exec_line"
    launcher=$root$exec_line
    [ -x "$launcher" ] || { echo "not an installed program: $exec_line"; return 1; }
    mkdir -p "$home"
    display=:$((90 + $$ % 100))
    # Neither may keep this check's output open: its reader waits for the end.
    Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    # Started from /, as a desktop may start it; in a network namespace of
    # its own where one can be made, so that it hears no real receivers.
    local isolate=()
    unshare -n true 2>/dev/null && isolate=(unshare -n)
    (cd / && exec env -u XDG_STATE_HOME HOME="$home" DISPLAY="$display" \
        LD_LIBRARY_PATH="$libdir" "${isolate[@]}" "$launcher") \
        >"$report_dir/console-from-menu.log" 2>&1 &
    local console=$!
    menu_window "$display" "$console" "$home"
    local status=$?
    kill "$console" "$xvfb" 2>/dev/null
    wait "$console" "$xvfb" 2>/dev/null
    return $status
}

menu_window() {
    local display=$1 console=$2 home=$3 window="" cwd
    for _ in $(seq 100); do
        window=$(DISPLAY=$display xdotool search --name '^R40 Management Console$' 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "no window named R40 Management Console"; return 1; }
    sleep 1
    DISPLAY=$display import -window root "$report_dir/console-from-menu.png" ||
        { echo "no screenshot"; return 1; }
    echo "screenshot: $report_dir/console-from-menu.png"
    # Every step from the subshell to the console is an exec: one process.
    echo "running: $(readlink -f "/proc/$console/exe")"
    [ "$(readlink -f "/proc/$console/exe")" = "$root/usr/bin/r40console" ] || return 1
    cwd=$(readlink "/proc/$console/cwd")
    echo "console's working directory: $cwd"
    [ "$cwd" = "$home/.local/state/r40-console" ] || return 1
    [ "$(stat -c %a "$cwd")" = 700 ] || { echo "mode $(stat -c %a "$cwd")"; return 1; }
}

echo "Checking $deb"
check "unpacks into a scratch root" unpack
check "files in their places, no maintainer scripts" contents
check "one version everywhere" versions
check "installed r40ctl --version" r40ctl_version
check "installed r40-receiver-sim --help" sim_help
check "installed r40-snmp-agent and its unit" snmp_agent
check "C client via pkg-config drives emulator" c_client
check "man page example compiles" man_example
check "man pages render without warnings" man_pages
check "desktop-file-validate" desktop_entry
check "appstreamcli validate" appstream
check "lintian" run_lintian
check "menu entry starts the console" menu_start
echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
