#!/usr/bin/env bash
# The scripts' shared clean-up (scripts/nettoyage.sh), in a script under `set -e` as the
# scripts are: whether the script fails, succeeds after a program it started has died, or is
# killed, every process it registered is ended and every folder removed.
#
#   nettoyage.sh PATH/TO/scripts/nettoyage.sh
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 NETTOYAGE" >&2; exit 2; }
nettoyage=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echecs=0

# A script that registers a program that has already ended, a live one, one that ignores TERM,
# a folder, and a step to run first that fails; it then ends as FIN says: "echec" (exit 1), "succes" (exit 0) or
# "tue" (waits to be killed).
cat >"$tmp/script.sh" <<'SCRIPT'
set -euo pipefail
. "$1"
fin=$2
etat=$3
dossier=$(mktemp -d)
nettoyer_dossier "$dossier"
echec_avant() { false; }
nettoyer_avant echec_avant
mort=$(sh -c 'echo $$')
nettoyer_processus "$mort"
sleep 300 &
nettoyer_processus $!
vivant=$!
perl -e '$SIG{TERM} = "IGNORE"; sleep 300' &
nettoyer_processus $!
echo "$dossier $vivant $!" >"$etat"
case $fin in
    echec) false ;;
    succes) exit 0 ;;
    tue) echo pret >"$etat.pret"; wait ;;
esac
SCRIPT

# cas NAME END EXPECTED_STATUS
cas() {
    local nom=$1 fin=$2 attendu=$3 statut=0 raisons=()
    rm -f "$tmp/etat" "$tmp/etat.pret"
    if [ "$fin" = tue ]; then
        mkfifo "$tmp/etat.pret"
        bash "$tmp/script.sh" "$nettoyage" "$fin" "$tmp/etat" &
        local script=$!
        read -r -t 20 _ <"$tmp/etat.pret"
        kill -TERM "$script"
        wait "$script" || statut=$?
    else
        bash "$tmp/script.sh" "$nettoyage" "$fin" "$tmp/etat" || statut=$?
    fi
    local dossier pid sourd
    read -r dossier pid sourd <"$tmp/etat"
    [ "$statut" -eq "$attendu" ] || raisons+=("the script ended with status $statut, not $attendu")
    [ ! -e "$dossier" ] || raisons+=("its folder $dossier is left")
    if kill -0 "$pid" 2>/dev/null; then
        raisons+=("its live program $pid is left")
        kill "$pid"
    fi
    if kill -0 "$sourd" 2>/dev/null; then
        raisons+=("its program $sourd that ignores TERM is left")
        kill -KILL "$sourd"
    fi
    if [ ${#raisons[@]} -eq 0 ]; then
        echo "ok: $nom"
    else
        echo "FAILED: $nom: ${raisons[*]}" >&2
        echecs=$((echecs + 1))
    fi
}

cas "the script fails" echec 1
cas "the script succeeds" succes 0
cas "the script is killed with TERM" tue 143

[ "$echecs" -eq 0 ] || exit 1
echo "nettoyage: passed"
