#!/usr/bin/env bash
# Kills a game end at each system call it makes, one run per call, and reads the file after
# each kill: it must hold the old five entries or the new five, never a mixture, and every entry
# the new table keeps must still be there. Three files: one with a second name (hard link),
# written in place, growing; the same with lines after the tenth, shrinking; and a file with one
# name, replaced by renaming a new file over it.
#
#   balayage.sh BUILD_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
ecrivain=$(cd "$1" && pwd)/tests/scores/ecrivain_scores
# LeakSanitizer cannot work under ptrace: in a sanitizer build the writer's leaks are checked by
# the other suites, not here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
if ! strace -o /dev/null -qq true 2>/dev/null; then
    echo "balayage: skipped: strace cannot trace here"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

points=0
perdues=0
melanges=0

# balayer NAME FILE_BYTES LINKED OLD_TABLE NEW_TABLE: the tables as the reader prints them.
balayer() {
    local nom=$1 octets=$2 lie=$3 ancien=$4 nouveau=$5
    local fonction appel n statut k=0 vieux=0 neufs=0 lu
    poser() {
        find . -mindepth 1 -delete # a killed run's lock or temporary file too
        printf "$octets" >canalisor.txt
        [ "$lie" = oui ] && ln canalisor.txt lien.txt
        return 0
    }
    poser
    strace -o trace -qq "$ecrivain" canalisor.txt Jules 1000 || { echo "balayage: $nom: the game end fails unkilled" >&2; exit 1; }
    [ "$("$ecrivain" canalisor.txt)" = "$nouveau" ] || { echo "balayage: $nom: the unkilled game end wrote $("$ecrivain" canalisor.txt)" >&2; exit 1; }
    # The new table reaches the disk before it stands for the file: an fsync after the last write,
    # and before the rename that puts it in the old one's place. The table is written with
    # pwrite (a sanitizer build's runtime makes writes of its own).
    awk '/--debut-fin-de-partie--/ { vu = 1 }
         vu && /^(pwrite64|ftruncate)\(/ { ecrit = NR }
         vu && /^f(data)?sync\(/ && ecrit { synchro = NR }
         vu && /^rename(at2?)?\(/ { remplace = NR }
         END { exit !(synchro > ecrit && (!remplace || synchro < remplace)) }' trace ||
        { echo "balayage: $nom: the new table is not synced before it replaces the old one" >&2; exit 1; }
    # Each system call after the mark, as (name, how many times that name was called so far).
    mapfile -t appels < <(awk -F'(' '/^[a-z_0-9]+\(/ { n[$1]++; if (vu) print $1 " " n[$1] }
                                     /--debut-fin-de-partie--/ { vu = 1 }' trace)
    for appel in "${appels[@]}"; do
        read -r fonction n <<<"$appel"
        poser
        # In a subshell, whose "Killed" goes where its output goes.
        statut=$( (strace -o /dev/null -qq -e inject="$fonction":signal=KILL:when="$n" \
            "$ecrivain" canalisor.txt Jules 1000 >/dev/null 2>&1; echo $?) 2>/dev/null)
        [ "$statut" -ne 0 ] || { echo "balayage: $nom: not killed at $fonction #$n" >&2; exit 1; }
        k=$((k + 1))
        lu=$("$ecrivain" canalisor.txt || true)
        if [ "$lu" = "$ancien" ]; then
            vieux=$((vieux + 1))
        elif [ "$lu" = "$nouveau" ]; then
            neufs=$((neufs + 1))
        else
            melanges=$((melanges + 1))
            echo "balayage: $nom: killed at $fonction #$n, the file reads:" >&2
            sed 's/^/    /' <<<"$lu" >&2
        fi
        # The entries the new table keeps from the old one, which no kill may lose.
        local garde
        garde=$(comm -12 <(sort <<<"$ancien") <(sort <<<"$nouveau"))
        perdues=$((perdues + $(comm -23 <(echo "$garde") <(sort <<<"$lu") | grep -c . || true)))
    done
    points=$((points + k))
    echo "balayage: $nom: $k kill points, old table after $vieux, new after $neufs"
}

# The hand-made file lists its entries out of order and its last score has no line end.
ancien=$'Marie 1500\nPaul 1200\nL\xc3\xa9a 900\nHugo 300\nAnne 0'
nouveau=$'Marie 1500\nPaul 1200\nJules 1000\nL\xc3\xa9a 900\nHugo 300'
balayer "in place, growing" 'Hugo\r\n300\r\nAnne\r\n0\r\nPaul\r\n1200\r\nL\xe9a\r\n900\r\nMarie\r\n1500' oui "$ancien" "$nouveau"
balayer "in place, shrinking" 'Marie\r\n1500\r\nPaul\r\n1200\r\nL\xe9a\r\n900\r\nHugo\r\n300\r\nAnne\r\n0\r\nnotes\r\nnotes\r\nnotes\r\n' oui "$ancien" "$nouveau"
balayer "renamed" 'Hugo\r\n300\r\nAnne\r\n0\r\nPaul\r\n1200\r\nL\xe9a\r\n900\r\nMarie\r\n1500' non "$ancien" "$nouveau"

echo "balayage: $points kill points in all, $perdues entries lost, $melanges files neither old nor new"
[ "$perdues" -eq 0 ] && [ "$melanges" -eq 0 ]
