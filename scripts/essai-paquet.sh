#!/usr/bin/env bash
# The package as a player meets it: build the .deb, install it with apt-get, play it as an
# ordinary user on a private X server, then purge it and look for leftovers. Needs root: it
# installs a package and creates (then removes) the user canalisor-essai.
#
#   scripts/essai-paquet.sh
#
# ESSAI_CAPTURE=FILE.png keeps a picture of the name prompt.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    echo "essai-paquet: skipped: needs root (installs a package and creates a user)"
    exit 0
fi
racine=$(cd "$(dirname "$0")/.." && pwd)
readonly JOUEUR=canalisor-essai INSTALLE=/usr/lib/games/canalisor/canalisor.txt
debut=$SECONDS

dire() { echo "essai-paquet [$((SECONDS - debut)) s]: $*"; }
echec() {
    echo "essai-paquet: FAILED: $*" >&2
    [ -s "${tmp:-/nonexistent}/jeu.log" ] && sed 's/^/  jeu: /' "$tmp/jeu.log" >&2
    exit 1
}

. "$racine/scripts/nettoyage.sh"
tmp=$(mktemp -d)
nettoyer_dossier "$tmp"
nettoyer_utilisateur "$JOUEUR"

# ---- Build and install
dire "building the package"
(cd "$tmp" && "$racine"/scripts/paquet.sh >"$tmp/paquet.log" 2>&1) || { tail -n 30 "$tmp/paquet.log"; echec "the package did not build"; }
deb=$(ls "$tmp"/canalisor_*.deb)
dire "built $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
lintian "$deb" >"$tmp/lintian.log" 2>&1 || true
sed 's/^/  lintian: /' "$tmp/lintian.log"
! grep -q '^E:' "$tmp/lintian.log" || echec "lintian reports errors"
dire "apt-get install $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; echec "apt-get install"; }
dpkg -L canalisor >"$tmp/fichiers"
dire "installed $(wc -l <"$tmp/fichiers") paths; /usr/games/canalisor -> $(readlink /usr/games/canalisor)"
somme_avant=$(sha256sum "$INSTALLE")

# ---- An ordinary player, on a private X server
userdel -r "$JOUEUR" 2>/dev/null || true
useradd --create-home --shell /bin/bash "$JOUEUR"
maison=$(getent passwd "$JOUEUR" | cut -d: -f6)
personnel=$maison/.local/share/canalisor/canalisor.txt
runtime=$tmp/runtime
install -d -m 700 -o "$JOUEUR" -g "$JOUEUR" "$runtime"
chmod 755 "$tmp"
dire "user $JOUEUR created (uid $(id -u "$JOUEUR")); it may not write $(dirname "$INSTALLE")"
setpriv --reuid="$JOUEUR" --regid="$JOUEUR" --init-groups test ! -w "$(dirname "$INSTALLE")" ||
    echec "$JOUEUR may write the installed folder"

mkfifo "$tmp/affichage"
# -ac: the player's program and root's xdotool both talk to this server.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset -ac 3>"$tmp/affichage" 2>"$tmp/xvfb.log" &
nettoyer_processus $!
read -r -t 20 numero <"$tmp/affichage" || echec "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY=:$numero
xdotool mousemove 1590 990

jouer() { # [root] [VARIABLE=VALUE...]: starts the installed command as the player (or as root), French nowhere in the environment
    local qui=(setpriv --reuid="$JOUEUR" --regid="$JOUEUR" --init-groups) chez=$maison nom=$JOUEUR dossier=$runtime
    if [ "${1:-}" = root ]; then
        qui=() chez=$maison_root nom=root dossier=$runtime_root
        shift
    fi
    "${qui[@]}" env -i HOME="$chez" USER="$nom" PATH=/usr/bin:/bin:/usr/games DISPLAY="$DISPLAY" LANG=C \
        XDG_RUNTIME_DIR="$dossier" QT_QPA_PLATFORM=xcb "$@" canalisor >"$tmp/jeu.log" 2>&1 &
    jeu=$!
    nettoyer_processus "$jeu"
    fenetre=$(timeout 20 xdotool search --sync --onlyvisible --name '^Canalisor$' | head -n 1) ||
        echec "the main window never mapped"
    dire "the window maps ($(xwininfo -id "$fenetre" | awk '/ Width:/ {w=$2} / Height:/ {h=$2} END {print w "x" h}'))"
}
quitter() {
    xdotool windowfocus --sync "$fenetre" key ctrl+q
    local fin=$((SECONDS + 10)) statut=0
    while kill -0 "$jeu" 2>/dev/null; do
        [ "$SECONDS" -lt "$fin" ] || echec "the program was still running 10 s after Ctrl+Q"
        sleep 0.1
    done
    wait "$jeu" || statut=$?
    oublier_processus "$jeu"
    [ "$statut" -eq 0 ] || echec "the program ended with status $statut"
}
# The id of a box over the main window (every box is titled "Canalisor" too), once it shows.
boite() {
    local fin=$((SECONDS + 20)) id
    while [ "$SECONDS" -lt "$fin" ]; do
        for id in $(xdotool search --onlyvisible --name '^Canalisor$' 2>/dev/null); do
            [ "$id" != "$fenetre" ] && { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
disparue() { # waits for the window to be unmapped
    local fin=$((SECONDS + 10))
    while xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; do
        [ "$SECONDS" -lt "$fin" ] || echec "box $1 stayed open"
        sleep 0.1
    done
}

dire "first start as $JOUEUR: /usr/games/canalisor"
jouer
# Docks and task bars find the menu entry of the window by its class.
classe=$(xprop -id "$fenetre" WM_CLASS)
entree=$(sed -n 's/^StartupWMClass=//p' /usr/share/applications/io.github.canalisor.Canalisor.desktop)
[ "$classe" = "WM_CLASS(STRING) = \"canalisor\", \"$entree\"" ] ||
    echec "the window's $classe does not match the menu entry's StartupWMClass=$entree"
dire "the window's $classe, as the installed menu entry says"
[ -f "$personnel" ] || echec "no copy of the best scores at $personnel"
cmp "$INSTALLE" "$personnel" || echec "the player's copy differs from the installed file"
dire "the player's copy $personnel was made from the installed file"
quitter

# The player's own file is used from then on: one with no score yet lets any game enter it.
zeros='Anonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\n'
printf "$zeros" >"$personnel"
dire "the player's file now holds five zero scores"

# Ctrl+N, then V on the empty board three times, and NAME typed at the name prompt.
partie() {
    xdotool windowfocus --sync "$fenetre" key ctrl+n
    for essai in 1 2 3; do
        xdotool windowfocus --sync "$fenetre" key v
        id=$(boite) || echec "try $essai: no box after V"
        disparu=$(xdotool getwindowname "$id")
        xdotool windowfocus --sync "$id" key Return
        disparue "$id"
        dire "try $essai lost: the box titled \"$disparu\" closed with Return"
    done

    id=$(boite) || echec "no name prompt after the third try"
    if [ -n "${ESSAI_CAPTURE:-}" ]; then
        import -window "$id" "$ESSAI_CAPTURE" && dire "name prompt captured: $ESSAI_CAPTURE"
    fi
    xdotool windowfocus --sync "$id"
    xdotool type --delay 50 "$1"
    xdotool key Return
    disparue "$id"
    dire "name prompt answered \"$1\""
}

dire "second start; Ctrl+N, then V on the empty board, three times"
jouer
partie 'Zoé'

attendu=$tmp/attendu
printf 'Zo\xe9\r\n6\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\n' >"$attendu"
cmp "$attendu" "$personnel" || {
    od -c "$personnel" | head
    echec "the player's file is not the expected ten lines"
}
dire "$personnel holds Zoé 6 in windows-1252 with CR LF: $(od -An -c "$personnel" | head -n 1 | tr -s ' ')"
quitter
[ "$(sha256sum "$INSTALLE")" = "$somme_avant" ] || echec "the installed file changed"
dire "the installed file is unchanged: ${somme_avant%% *}"

# As the manual page says, XDG_DATA_HOME moves the player's scores.
donnees=$maison/donnees
dire "third start, XDG_DATA_HOME=$donnees"
jouer XDG_DATA_HOME="$donnees"
cmp "$INSTALLE" "$donnees/canalisor/canalisor.txt" || echec "no copy of the installed file in $donnees/canalisor"
dire "the player's copy is $donnees/canalisor/canalisor.txt; the other one is left alone"
quitter
cmp "$attendu" "$personnel" || echec "the file in ~/.local/share changed"

# ---- Root, who may write the installed folder, keeps its scores in its own data folder too
maison_root=$tmp/root
runtime_root=$tmp/runtime-root
install -d -m 700 "$maison_root" "$runtime_root"
personnel_root=$maison_root/.local/share/canalisor/canalisor.txt
dire "first start as root (HOME=$maison_root)"
jouer root
[ -f "$personnel_root" ] || echec "no copy of the best scores for root at $personnel_root"
quitter
printf "$zeros" >"$personnel_root"
dire "second start as root; a game that enters the five"
jouer root
partie 'Root'
printf 'Root\r\n6\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\n' >"$attendu"
cmp "$attendu" "$personnel_root" || echec "root's file is not the expected ten lines"
quitter
[ "$(sha256sum "$INSTALLE")" = "$somme_avant" ] || echec "root's game changed the installed file"
dpkg --verify canalisor >"$tmp/verify.log" 2>&1 || true
[ ! -s "$tmp/verify.log" ] || { cat "$tmp/verify.log"; echec "dpkg --verify reports changed files"; }
dire "root's game went to $personnel_root; the installed file is unchanged and dpkg --verify reports nothing"

# ---- Purge
dire "apt-get purge canalisor"
DEBIAN_FRONTEND=noninteractive apt-get purge -y canalisor >"$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log"; echec "apt-get purge"; }
restes=0
while read -r chemin; do
    # Shared folders (/usr/share/man/man6, the icon theme's) stay for the packages that own them.
    if [ -e "$chemin" ] || [ -L "$chemin" ]; then
        if [ ! -d "$chemin" ] || [ "$(basename "$chemin")" = canalisor ]; then
            echo "  left: $chemin" >&2
            restes=$((restes + 1))
        fi
    fi
done <"$tmp/fichiers"
[ "$restes" -eq 0 ] || echec "$restes installed paths are left after the purge"
dire "purged: none of the $(wc -l <"$tmp/fichiers") paths is left"
dire "passed in $((SECONDS - debut)) s"
