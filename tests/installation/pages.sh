#!/usr/bin/env bash
# The manual pages and the menu entry as a system installs them: the French page where French
# pages go and the English one in the default tree, both read by man without a warning, the
# French one hyphenated with French rules, each documenting every option that --help lists and
# the variables that move the scores; the menu entry and the AppStream file in both languages,
# naming the window class the program gives its windows.
#
#   pages.sh BUILD_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echecs=0
echec() {
    echo "FAILED: $*" >&2
    echecs=$((echecs + 1))
}

cmake --install "$1" --prefix "$tmp/usr" >"$tmp/install.log" || {
    cat "$tmp/install.log" >&2
    exit 1
}
pages=$(cd "$tmp/usr/share/man" && find . -type f | sort | tr '\n' ' ')
[ "$pages" = "./fr/man6/canalisor.6.gz ./man6/canalisor.6.gz " ] || echec "installed pages: $pages"

# The page as text, dashes and hyphens as ASCII, at WIDTH columns.
lire() { # PAGE WIDTH
    zcat "$1" | groff -k -man -Tutf8 -P-cbou -rLL="$2"n 2>/dev/null | sed 's/‐/-/g; s/−/-/g'
}
# The text of one section, from its heading to the next.
section() { # PAGE HEADING
    lire "$1" 78 | awk -v titre="$2" '/^[^ ]/ { dedans = ($0 == titre); next } dedans'
}

aide=$("$1/canalisor/canalisor" --help)
options=$(printf '%s\n' "$aide" | grep -oE '^  (-[a-z]+, )?-{1,2}[a-z]+' | grep -oE -- '-{1,2}[a-z]+' | tr '\n' ' ')
[ "$options" = "-h --help -v --version -platform -style -display " ] || echec "--help lists: $options"

for langue in fr en; do
    if [ "$langue" = fr ]; then
        page=$tmp/usr/share/man/fr/man6/canalisor.6.gz
        titres=(OPTIONS ENVIRONNEMENT)
    else
        page=$tmp/usr/share/man/man6/canalisor.6.gz
        titres=(OPTIONS ENVIRONMENT)
    fi
    [ -f "$page" ] || continue

    # What lintian runs: any warning of man or groff is a fault of the page.
    avertissements=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$avertissements" ] || echec "$langue: man warns: $avertissements"

    documentees=$(section "$page" "${titres[0]}")
    for option in $options; do
        grep -qE -- "(^|[ ,])$option( |,|$)" <<<"$documentees" || echec "$langue: $option is not in ${titres[0]}"
    done
    environnement=$(section "$page" "${titres[1]}")
    for variable in XDG_DATA_HOME HOME; do
        grep -qE "^       $variable( |\$)" <<<"$environnement" || echec "$langue: $variable is not in ${titres[1]}"
    done
    grep -q 'XDG_DATA_HOME/canalisor/canalisor.txt' <<<"$environnement" ||
        echec "$langue: ${titres[1]} does not say where XDG_DATA_HOME puts the scores"
    echo "pages: $langue: $(basename "$(dirname "$(dirname "$page")")")/man6, options $options, XDG_DATA_HOME and HOME"
done

# Hyphenation: a word set in a narrow column after the French page is broken by the rules the
# page leaves in force. French breaks "liquides" as li-quides, English as liq-uides.
coupe=$( (zcat "$tmp/usr/share/man/fr/man6/canalisor.6.gz"
    printf '.SH SONDE\nliquides liquides liquides liquides\n') | groff -k -man -Tutf8 -P-cbou -rLL=12n 2>/dev/null |
    sed -n '/^SONDE/,$p' | grep -m1 -oE '^ *[a-z]+‐$' | tr -d ' ') || true
[ "$coupe" = "li‐" ] || echec "fr: the French page hyphenates \"liquides\" as \"${coupe:-(not at all)}...\", not li‐quides"

entree=$tmp/usr/share/applications/io.github.canalisor.Canalisor.desktop
cle() { sed -n "s/^$1=//p" "$entree"; }
[ "$(cle StartupWMClass)" = canalisor ] || echec "StartupWMClass=$(cle StartupWMClass)"
[ "$(cle Name)" = Canalisor ] || echec "Name=$(cle Name)"
[ "$(cle 'Comment')" = "Lay the pipes that lead the liquids to their arrivals before they overflow" ] ||
    echec "Comment=$(cle Comment)"
[ "$(cle 'Comment\[fr\]')" = "Posez les tuyaux pour conduire les liquides jusqu'à leur arrivée avant qu'ils ne débordent" ] ||
    echec "Comment[fr]=$(cle 'Comment\[fr\]')"
[ "$(cle 'GenericName\[fr\]')" = "Jeu de tuyaux" ] || echec "GenericName[fr]=$(cle 'GenericName\[fr\]')"
[ "$(cle 'Keywords\[fr\]')" = "tuyaux;puzzle;liquides;réflexion;" ] || echec "Keywords[fr]=$(cle 'Keywords\[fr\]')"
[ -n "$(cle Keywords)" ] || echec "no English Keywords"

metainfo=$tmp/usr/share/metainfo/io.github.canalisor.Canalisor.metainfo.xml
grep -q "<summary xml:lang=\"fr\">Conduisez les liquides à travers vos tuyaux avant qu'ils ne débordent</summary>" "$metainfo" ||
    echec "no French summary in the AppStream file"
[ "$(grep -c '<p xml:lang="fr">' "$metainfo")" = "$(grep -c '<p>' "$metainfo")" ] ||
    echec "the AppStream description's paragraphs are not all in French too"

[ "$echecs" -eq 0 ] || { echo "pages: $echecs checks FAILED" >&2; exit 1; }
echo "pages: passed"
