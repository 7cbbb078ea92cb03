#!/usr/bin/env bash
# Qt stays behind the window layer: the console, the dialogs, the skin (the
# build-time art generator aside) and the window layer's public headers
# speak only the layer's own types, and only its backend folder includes Qt.
# The files that still include a Qt header, or one of the backend's private
# headers (platform/window/qt/, Qt at one remove), are listed in LIST while
# the move goes on; this fails on any other file that includes one (Qt
# leaking back out) and on a listed file that no longer does (strike it
# from LIST), so the list only shrinks and is empty when the move is done.
#   qt_confinement.sh SOURCE_DIR LIST
set -u
source_dir=$1 list=$2
cd "$source_dir" || exit 2
found=$(grep -rlE '#include (<Q|"platform/window/qt/)' console dialogs skin platform/window/*.h |
    grep -v '^skin/artgen/' | sort)
listed=$(grep -v '^#' "$list" | grep -v '^$' | sort)
leaked=$(comm -23 <(echo "$found") <(echo "$listed") | grep -v '^$')
cleared=$(comm -13 <(echo "$found") <(echo "$listed") | grep -v '^$')
status=0
if [ -n "$leaked" ]; then
    echo "Qt included outside the window layer's backend (use the layer's types):"
    echo "$leaked" | sed 's/^/  /'
    status=1
fi
if [ -n "$cleared" ]; then
    echo "no longer includes Qt, strike it from $(basename "$list"):"
    echo "$cleared" | sed 's/^/  /'
    status=1
fi
[ "$status" = 0 ] && echo "$(echo "$listed" | grep -c .) files still to move off Qt, no other includes it"
exit $status
