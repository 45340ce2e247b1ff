#!/usr/bin/env bash
# What scripts/dependances.sh asks a player who is not root to install, with dpkg-query and id
# replaced: building and playing need no test tool, the tests need them all.
#
#   dependances.sh PATH/TO/scripts/dependances.sh
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 DEPENDANCES" >&2; exit 2; }
dependances=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echecs=0

mkdir "$tmp/bin"
cat >"$tmp/bin/dpkg-query" <<'FAUX'
#!/bin/sh
# dpkg-query -W -f=FORMAT PACKAGE: installed when listed in $INSTALLES.
for p; do :; done
grep -qx "$p" "$INSTALLES" || exit 1
printf 'install ok installed'
FAUX
printf '#!/bin/sh\necho 1000\n' >"$tmp/bin/id"
chmod +x "$tmp/bin/dpkg-query" "$tmp/bin/id"

jeu="cmake g++ make pkg-config qt6-base-dev libgl-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-dejavu-core fonts-liberation2"
paquet="dpkg-dev fakeroot"
tests="libgtest-dev clang libclang-rt-14-dev xvfb xauth x11-utils xdotool imagemagick appstream desktop-file-utils groff-base man-db lintian strace"

# cas NAME PURPOSE INSTALLED EXPECTED_STATUS MISSING
cas() {
    local nom=$1 but=$2 installes=$3 attendu=$4 manquants=$5 statut=0 demande
    tr ' ' '\n' <<<"$installes" >"$tmp/installes"
    INSTALLES=$tmp/installes PATH="$tmp/bin:$PATH" "$dependances" "$but" >/dev/null 2>"$tmp/erreurs" || statut=$?
    demande=$(sed -n 's/^  apt-get update && apt-get install -y --no-install-recommends //p' "$tmp/erreurs")
    if [ "$statut" -eq "$attendu" ] && [ "$demande" = "$manquants" ]; then
        echo "ok: $nom"
    else
        echo "FAILED: $nom: status $statut (expected $attendu), asked for \"$demande\", expected \"$manquants\"" >&2
        echecs=$((echecs + 1))
    fi
}

cas "a player with what building needs may play" jeu "$jeu" 0 ""
cas "a bare machine is asked for what building needs, no test tool" jeu "" 1 "$jeu"
cas "the package needs dpkg-dev and fakeroot beside" paquet "$jeu" 1 "$paquet"
cas "the tests need every test tool" tests "$jeu $paquet" 1 "$tests"
cas "with everything the tests may run" tests "$jeu $paquet $tests" 0 ""

[ "$echecs" -eq 0 ] || exit 1
echo "dependances: passed"
