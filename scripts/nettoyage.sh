# The clean-up of the scripts that start programs and make temporary things, sourced by
# scripts/fumee.sh and scripts/essai-paquet.sh:
#
#   . scripts/nettoyage.sh
#   nettoyer_avant FUNCTION       called first at exit (to keep screenshots, say)
#   nettoyer_processus PID        ended at exit (a program this script started)
#   oublier_processus PID         no longer ended at exit (the script has waited for it)
#   nettoyer_utilisateur NAME     deleted at exit with its home, once the processes are ended
#   nettoyer_dossier DIR          removed at exit
#
# Every step runs whatever the others did: a game that already died, a user already gone or a
# failing step leave the rest to be done. An interrupted script (Ctrl+C, ctest's timeout)
# cleans up too.

nettoyage_avant=()
nettoyage_processus=()
nettoyage_utilisateurs=()
nettoyage_dossiers=()

nettoyer_avant() { nettoyage_avant+=("$1"); }
nettoyer_processus() { nettoyage_processus+=("$1"); }
nettoyer_utilisateur() { nettoyage_utilisateurs+=("$1"); }
nettoyer_dossier() { nettoyage_dossiers+=("$1"); }
oublier_processus() {
    local restants=() pid
    for pid in "${nettoyage_processus[@]}"; do
        [ "$pid" = "$1" ] || restants+=("$pid")
    done
    nettoyage_processus=("${restants[@]}")
}

# Ends one process the script started, and reaps it. Xvfb and the game end on TERM; one that
# is still running two seconds later is killed, so that no clean-up can hang.
nettoyage_vivant() {
    local etat
    { etat=$(<"/proc/$1/stat"); } 2>/dev/null || return 1
    etat=${etat##*) }
    [ "${etat%% *}" != Z ]
}
nettoyage_arreter() {
    kill -TERM "$1" 2>/dev/null || return 0
    local dixiemes
    for ((dixiemes = 0; dixiemes < 20; dixiemes++)); do
        nettoyage_vivant "$1" || break
        sleep 0.1
    done
    nettoyage_vivant "$1" && kill -KILL "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 0
}

nettoyage_tout() {
    local statut=$? i
    set +e
    trap - EXIT
    for ((i = 0; i < ${#nettoyage_avant[@]}; i++)); do
        "${nettoyage_avant[i]}"
    done
    # The last started first: the game before its X server.
    for ((i = ${#nettoyage_processus[@]} - 1; i >= 0; i--)); do
        nettoyage_arreter "${nettoyage_processus[i]}"
    done
    for ((i = 0; i < ${#nettoyage_utilisateurs[@]}; i++)); do
        if id "${nettoyage_utilisateurs[i]}" >/dev/null 2>&1; then
            userdel -r "${nettoyage_utilisateurs[i]}" 2>/dev/null
        fi
    done
    for ((i = 0; i < ${#nettoyage_dossiers[@]}; i++)); do
        rm -rf -- "${nettoyage_dossiers[i]}"
    done
    exit "$statut"
}
trap nettoyage_tout EXIT
# A signal would otherwise end bash without its EXIT trap.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
