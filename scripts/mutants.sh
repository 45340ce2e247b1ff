#!/usr/bin/env bash
# Plants the faults listed in scripts/mutants.tsv one at a time, rebuilds, runs the suites and
# says which faults they catch. Not part of the test run: it takes a while.
#   scripts/mutants.sh [TABLE] [FIRST-ROW [LAST-ROW]]
# Builds in build-mutants/ (Debug at -O1: quick to rebuild, quick enough to run). The smoke test
# (fumee: a real X server, two minutes), the desktop-file checks and the install check (it
# installs the whole build twice) are left out: none can see a fault in the rules, the
# windows' model or the pictures that the suites could not.
# Each fault's file is put back after its run, and also when the script is interrupted.
set -u

racine=$(cd "$(dirname "$0")/.." && pwd)
table=${1:-$racine/scripts/mutants.tsv}
premiere=${2:-1}
derniere=${3:-100000}
build=$racine/build-mutants
tests=(--test-dir "$build" -E 'fumee|_valide|installation_prefixes' --timeout 60 --stop-on-failure)

sauvegarde=$(mktemp)
plante="" # the file that holds a fault right now
remettre() {
    if [ -n "$plante" ]; then
        cp "$sauvegarde" "$racine/$plante"
        plante=""
    fi
}
trap 'remettre; rm -f "$sauvegarde"' EXIT
trap 'echo; echo "interrupted: $plante put back"; exit 130' INT TERM

# Every target: a suite added later is built without this list having to know it.
construire() { cmake --build "$build" -j2 >"$build/mutant.log" 2>&1; }

cmake -S "$racine" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 \
    -DCANALISOR_WERROR=ON >/dev/null || exit 1
if ! construire || ! ctest "${tests[@]}" >/dev/null; then
    echo "the suites must build and pass before any fault is planted (see $build/mutant.log)" >&2
    exit 1
fi

debut=$SECONDS
rang=0 tues=0 comptes=0
survivants=()
while IFS= read -r ligne; do
    [[ -z $ligne || $ligne == \#* ]] && continue
    # Split by hand: read would merge the two tabs around an empty replacement.
    tab=$'\t'
    fichier=${ligne%%"$tab"*} ligne=${ligne#*"$tab"}
    avant=${ligne%%"$tab"*} ligne=${ligne#*"$tab"}
    apres=${ligne%%"$tab"*} description=${ligne#*"$tab"}
    rang=$((rang + 1))
    ((rang < premiere || rang > derniere)) && continue
    cp "$racine/$fichier" "$sauvegarde"
    plante=$fichier
    # The snippet must occur exactly once; \n in the table stands for a line end.
    if ! AVANT=$avant APRES=$apres perl -e '
        my ($chemin) = @ARGV;
        my ($avant, $apres) = map { s/\\(\\|n)/$1 eq "n" ? "\n" : "\\"/ger } @ENV{qw(AVANT APRES)};
        open(my $f, "<", $chemin) or exit 2;
        my $texte = do { local $/; <$f> };
        close $f;
        my $n = () = $texte =~ /\Q$avant\E/g;
        exit 3 if $n != 1;
        substr($texte, index($texte, $avant), length $avant) = $apres;
        open($f, ">", $chemin) or exit 2;
        print $f $texte;' "$racine/$fichier"; then
        verdict="not applicable"
    elif ! construire; then
        verdict="not building"
    elif ctest "${tests[@]}" >/dev/null 2>&1; then
        verdict="SURVIVED"
        comptes=$((comptes + 1))
        survivants+=("$rang $fichier: $description")
    else
        verdict="killed"
        tues=$((tues + 1))
        comptes=$((comptes + 1))
    fi
    remettre
    printf '%3d %-14s %s: %s\n' "$rang" "$verdict" "$fichier" "$description"
done <"$table"

construire || echo "warning: the restored tree does not build" >&2
awk -v k=$tues -v n=$comptes -v s=$((SECONDS - debut)) 'BEGIN { printf "killed %d of %d (%.1f %%) in %d s\n", k, n, n ? 100 * k / n : 0, s }'
for s in "${survivants[@]}"; do
    echo "survived: $s"
done
