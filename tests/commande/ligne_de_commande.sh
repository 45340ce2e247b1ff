#!/usr/bin/env bash
# The program as a command, with no display at all: --help and --version answer with status 0,
# whatever the program does not know ends with status 2 and a message on standard error, and
# Qt's own options go through to Qt.
#
#   ligne_de_commande.sh PROGRAM
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 PROGRAM" >&2; exit 2; }
programme=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echecs=0

aide="Utilisation : canalisor [OPTION]...
Jeu de tuyaux : conduisez les liquides jusqu'à leur arrivée avant qu'ils ne débordent.

  -h, --help       affiche cette aide et quitte
  -v, --version    affiche la version et quitte

Les options de Qt sont acceptées aussi, entre autres :
  -platform NOM    le greffon d'affichage : xcb, wayland, offscreen...
  -style NOM       le style des fenêtres : Fusion, Windows...
  -display ÉCRAN   l'écran X11 où ouvrir la fenêtre, par exemple :0

Voir aussi : man canalisor"
version="Canalisor version 2.12
Licence : GPL-3.0-or-later"
essayer="Essayez « canalisor --help » pour la liste des options."

# Starts the program as a terminal would with no graphical session; a program that tried to
# open a window would fail at once (or, somewhere it could, be stopped after 20 s).
# The player's locale is C (the game's own French) unless `locale` says otherwise.
locale=C
lancer() {
    statut=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LC_MESSAGES LANG="$locale" LC_ALL="$locale" LANGUAGE= \
        timeout 20 "$programme" "$@" >"$tmp/sortie" 2>"$tmp/erreurs" </dev/null || statut=$?
}

# cas NAME STATUS STDOUT STDERR [ARGUMENT...]: the whole of both outputs, and the status.
cas() {
    local nom=$1 attendu=$2 sortie=$3 erreurs=$4
    shift 4
    lancer "$@"
    local raisons=()
    [ "$statut" -eq "$attendu" ] || raisons+=("status $statut, expected $attendu")
    [ "$(cat "$tmp/sortie")" = "$sortie" ] || raisons+=("standard output:
$(cat "$tmp/sortie")
--- expected:
$sortie")
    [ "$(cat "$tmp/erreurs")" = "$erreurs" ] || raisons+=("standard error:
$(cat "$tmp/erreurs")
--- expected:
$erreurs")
    if [ ${#raisons[@]} -eq 0 ]; then
        echo "ok: $nom"
    else
        echo "FAILED: $nom: canalisor $*" >&2
        printf '  %s\n' "${raisons[@]}" >&2
        echecs=$((echecs + 1))
    fi
}

cas "--help prints the usage" 0 "$aide" "" --help
cas "-h prints the usage" 0 "$aide" "" -h
cas "--version prints the version" 0 "$version" "" --version
cas "-v prints the version" 0 "$version" "" -v
cas "the first of two answers wins" 0 "$version" "" --version --help
cas "a Qt option and its value before --version" 0 "$version" "" -platform offscreen --version
cas "Qt's double-dash form and --style=VALUE" 0 "$version" "" --platform offscreen -style=Fusion --version
cas "Qt's flags take no value" 0 "$version" "" -reverse -sync --version
cas "an unknown long option" 2 "" "canalisor : option inconnue « --niveau »
$essayer" --niveau 3
cas "an unknown option before --help" 2 "" "canalisor : option inconnue « -x »
$essayer" -x --help
cas "a Qt flag given a value" 2 "" "canalisor : option inconnue « -reverse=oui »
$essayer" -reverse=oui
cas "an argument that is not an option" 2 "" "canalisor : argument inattendu « canalisor.txt » (le jeu ne prend aucun fichier)
$essayer" canalisor.txt
cas "a lone dash" 2 "" "canalisor : argument inattendu « - » (le jeu ne prend aucun fichier)
$essayer" -
cas "a Qt option missing its value" 2 "" "canalisor : l'option « -platform » attend une valeur
$essayer" -platform

# An English player reads the command line in English, though no application exists yet.
locale=en_US.UTF-8
cas "--version in English" 0 "Canalisor version 2.12
License: GPL-3.0-or-later" "" --version
cas "an unknown option in English" 2 "" "canalisor: unknown option '--niveau'
Try 'canalisor --help' for the list of options." --niveau
locale=C

# Qt itself must get -platform: asked for a plugin that does not exist, Qt names it and stops
# the program (as it does without the option when no display can be found).
lancer -platform inexistant
if [ "$statut" -ne 2 ] && [ "$statut" -ne 0 ] && grep -q 'platform plugin "inexistant"' "$tmp/erreurs"; then
    echo "ok: -platform reaches Qt (status $statut)"
else
    echo "FAILED: -platform inexistant: status $statut, Qt did not name the plugin:" >&2
    sed 's/^/  /' "$tmp/erreurs" >&2
    echecs=$((echecs + 1))
fi

[ "$echecs" -eq 0 ] || { echo "ligne_de_commande: $echecs cases FAILED" >&2; exit 1; }
echo "ligne_de_commande: passed"
