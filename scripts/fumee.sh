#!/usr/bin/env bash
# Smoke test of the built program in a real X server, played like a keyboard player would: the
# main window maps at the layout's size with the class the menu entry names, Ctrl+N starts a
# game, the arrows and Space lay a pipe, Ctrl+Q ends the program with status 0. Runs on a
# private Xvfb, with no window manager, named to the program by Qt's options only.
#
#   scripts/fumee.sh BUILD_DIR
#
# BUILD_DIR is the build tree (its canalisor/ folder holds the program, tiles and scores file);
# the program runs from a temporary copy, so the build's best-scores file is left alone. The copy's
# folder name is not valid UTF-8, as in an archive made on another system, and a best-scores file
# waits beside it: the program must take its tiles and scores from its own folder all the same,
# and leave the other file alone.
# FUMEE_CAPTURES=DIR keeps the screenshots there. Needs Xvfb, xdotool, xwininfo and xprop
# (x11-utils) and ImageMagick's import and compare.
set -euo pipefail

echec() {
    echo "fumee: FAILED: $*" >&2
    exit 1
}

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
programme=$1/canalisor/canalisor
[ -x "$programme" ] || echec "no program at $programme: build it first"
for outil in Xvfb xdotool xwininfo xprop import compare; do
    command -v "$outil" >/dev/null || echec "$outil is missing (packages xvfb, xdotool, x11-utils, imagemagick)"
done

# The layout's client area, in pixels, and where the board lies in it.
readonly LARGEUR=1218 HAUTEUR=738 GRILLE_X=8 GRILLE_Y=88 PAS=80 TUILE=79 COLONNES=15 LIGNES=8

. "$(dirname "$0")/nettoyage.sh"
tmp=$(mktemp -d)
nettoyer_dossier "$tmp"
garder_captures() {
    if [ -n "${FUMEE_CAPTURES:-}" ]; then
        mkdir -p "$FUMEE_CAPTURES" && cp "$tmp"/*.png "$FUMEE_CAPTURES"/ 2>/dev/null
    fi
}
nettoyer_avant garder_captures

dossier=$tmp/jeu$'\xe9'
cp -a "$1/canalisor" "$dossier"
printf 'Intrus\r\n9999\r\n' >"$tmp/canalisor.txt"
voisin=$(stat -c '%s %Y %i' "$tmp/canalisor.txt")

# Xvfb picks a free display and writes its number once it accepts clients.
mkfifo "$tmp/affichage"
# -noreset: a server that resets when its last client leaves puts the pointer back in the middle.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$tmp/affichage" 2>"$tmp/xvfb.log" &
nettoyer_processus $!
read -r -t 20 numero <"$tmp/affichage" || echec "Xvfb did not start: $(cat "$tmp/xvfb.log")"
mkdir -m 700 "$tmp/runtime"
# A sanitized build reports what libdbus keeps at exit: not the game's leaks.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/fumee/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# Settings of its own: a size and place the player left in theirs must not move the window.
export DISPLAY=:$numero QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$tmp/runtime XDG_CONFIG_HOME=$tmp/reglages
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR

# The pointer stays off the window: a cell under it would take the keyboard's cursor.
xdotool mousemove 1590 990

# The display and the platform come from Qt's own options, not from the environment: the
# program must let them through to Qt.
env -u DISPLAY -u QT_QPA_PLATFORM "$dossier/canalisor" -platform xcb -display "$DISPLAY" \
    >"$tmp/canalisor.log" 2>&1 &
jeu=$!
nettoyer_processus "$jeu"

fenetre=$(timeout 20 xdotool search --sync --onlyvisible --name '^Canalisor$' | head -n 1) ||
    echec "the main window never mapped; the program said: $(cat "$tmp/canalisor.log")"
eval "$(xwininfo -id "$fenetre" | awk '/ Width:/ {print "largeur=" $2} / Height:/ {print "hauteur=" $2}')"
[ "$largeur" -eq "$LARGEUR" ] || echec "the window is $largeur pixels wide, not $LARGEUR"
[ "$hauteur" -ge "$HAUTEUR" ] || echec "the window is $hauteur pixels high, less than the client's $HAUTEUR"
barre=$((hauteur - HAUTEUR)) # the menu bar above the client area
echo "fumee: window ${largeur}x${hauteur} (menu bar $barre)"

# Docks and task bars match the window to the menu entry by its class; the class is the
# application's and the instance the command's name.
classe=$(xprop -id "$fenetre" WM_CLASS)
entree=$(sed -n 's/^StartupWMClass=//p' "$1/desktop/io.github.canalisor.Canalisor.desktop")
[ "$classe" = "WM_CLASS(STRING) = \"canalisor\", \"$entree\"" ] ||
    echec "the window's $classe does not match the menu entry's StartupWMClass=$entree"
echo "fumee: $classe, as the menu entry says"

# With no window manager, nobody gives the window the keyboard but us.
xdotool windowfocus --sync "$fenetre"

capture() { # NAME [GEOMETRY]
    import -window "$fenetre" ${2:+-crop "$2" +repage} "$tmp/$1.png"
}
differents() { # A B: true when the two pictures differ in any pixel
    local pixels
    pixels=$(compare -metric AE "$tmp/$1.png" "$tmp/$2.png" null: 2>&1) || true
    [ "${pixels%% *}" != 0 ]
}
# Waits, a tenth of a second at a time, for the area to differ from REFERENCE.
attendre_changement() { # REFERENCE NAME GEOMETRY WHAT
    local fin=$((SECONDS + 10))
    until capture "$2" "$3" && differents "$1" "$2"; do
        [ "$SECONDS" -lt "$fin" ] || echec "$4"
        sleep 0.1
    done
}
case_geometrie() { # CELL: the picture area inside the cell's border
    echo "${TUILE}x${TUILE}+$((GRILLE_X + 1 + PAS * ($1 % COLONNES)))+$((barre + GRILLE_Y + 1 + PAS * ($1 / COLONNES)))"
}
plateau=$((PAS * COLONNES + 1))x$((PAS * LIGNES + 1))+$GRILLE_X+$((barre + GRILLE_Y))

capture plateau-avant "$plateau"
xdotool key ctrl+n
attendre_changement plateau-avant plateau-partie "$plateau" "Ctrl+N showed no board"
capture fenetre-partie

# The first empty cell from the second row's third on, told by its picture (the level is drawn
# at random), so that the cursor goes both right and down.
cible=
for ((k = 0; k < COLONNES * LIGNES; k++)); do
    i=$(((k + COLONNES + 2) % (COLONNES * LIGNES)))
    pixels=$(compare -metric AE "$tmp/fenetre-partie.png[$(case_geometrie $i)]" "$dossier/0.bmp" null: 2>&1) ||
        true
    if [ "${pixels%% *}" = 0 ]; then
        cible=$i
        break
    fi
done
[ -n "$cible" ] || echec "no empty cell on the board"
echo "fumee: laying on cell $cible"

# Right then Left shows the cursor where it stands, on the first cell; then on to the target.
touches=(Right Left)
for ((i = 0; i < cible % COLONNES; i++)); do touches+=(Right); done
for ((i = 0; i < cible / COLONNES; i++)); do touches+=(Down); done
capture case "$(case_geometrie "$cible")"
xdotool key --delay 20 "${touches[@]}"
attendre_changement case case-curseur "$(case_geometrie "$cible")" "the arrows showed no cursor on cell $cible"
xdotool key space
attendre_changement case-curseur case-posee "$(case_geometrie "$cible")" "Space laid no pipe on cell $cible"
capture fenetre-posee

xdotool key ctrl+q
fin=$((SECONDS + 10))
while kill -0 "$jeu" 2>/dev/null; do
    [ "$SECONDS" -lt "$fin" ] || echec "the program was still running 10 s after Ctrl+Q"
    sleep 0.1
done
statut=0
wait "$jeu" || statut=$?
oublier_processus "$jeu"
[ "$statut" -eq 0 ] || echec "the program ended with status $statut: $(cat "$tmp/canalisor.log")"
[ "$(stat -c '%s %Y %i' "$tmp/canalisor.txt")" = "$voisin" ] || echec "the best-scores file beside the folder was touched"
# The next run opens the window where this one left it.
grep -q '^geometrie=' "$XDG_CONFIG_HOME/canalisor/canalisor.conf" 2>/dev/null ||
    echec "the window's size and place were not kept in $XDG_CONFIG_HOME/canalisor/canalisor.conf"
echo "fumee: passed"
