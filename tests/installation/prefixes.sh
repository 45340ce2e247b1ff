#!/usr/bin/env bash
# One build installed into two prefixes chosen at install time, as `cmake --install --prefix`
# allows: in each, the menu entry must start the command of that prefix, the command must lead
# to the program beside its tiles and its best-scores file, and nothing may name the other.
#
#   prefixes.sh BUILD_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
echec() {
    echo "prefixes: FAILED: $*" >&2
    exit 1
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A build is not installed: it keeps its scores beside the program.
[ ! -e "$1/canalisor/installation" ] || echec "the build folder holds an installation marker"
for prefixe in "$tmp/un" "$tmp/deux/sous"; do
    cmake --install "$1" --prefix "$prefixe" >"$tmp/install.log" || echec "install into $prefixe: $(cat "$tmp/install.log")"
    entree=$prefixe/share/applications/io.github.canalisor.Canalisor.desktop
    [ -f "$entree" ] || echec "no menu entry at $entree"
    exec_=$(sed -n 's/^Exec=//p' "$entree")
    [ "$exec_" = "$prefixe/games/canalisor" ] || echec "Exec=$exec_ in $entree"
    ! grep -q '^Path=' "$entree" || echec "a Path= line is left in $entree"
    [ "$(readlink "$prefixe/games/canalisor")" = ../lib/games/canalisor/canalisor ] ||
        echec "games/canalisor is not the relative link to the program"
    programme=$(readlink -f "$exec_")
    [ "$programme" = "$prefixe/lib/games/canalisor/canalisor" ] || echec "Exec= leads to $programme"
    [ -x "$programme" ] || echec "$programme is not executable"
    printf 'Canalisor\r\n500\r\nCanalisor\r\n400\r\nCanalisor\r\n300\r\nCanalisor\r\n200\r\nCanalisor\r\n100\r\n' >"$tmp/attendu"
    cmp "$tmp/attendu" "$prefixe/lib/games/canalisor/canalisor.txt" || echec "the starting canalisor.txt differs"
    # The marker that makes the program keep each player's scores in their own folder.
    marque=$(cat "$prefixe/lib/games/canalisor/installation")
    [ "$marque" = "$prefixe/lib/games/canalisor" ] || echec "the installation marker names $marque"
    tuiles=$(find "$prefixe/lib/games/canalisor" -name '*.bmp' | wc -l)
    [ "$tuiles" -eq 162 ] || echec "$tuiles tiles installed, not 162"
    if [ "$prefixe" != "$tmp/un" ] && grep -rlq "$tmp/un/" "$prefixe"; then
        echec "a file of $prefixe names the first prefix"
    fi
    echo "prefixes: $prefixe: Exec=$exec_ -> $programme, $tuiles tiles"
done
echo "prefixes: passed"
