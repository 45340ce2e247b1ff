#!/usr/bin/env bash
# Makes sure the Debian 12 packages for a purpose are there. As root it installs the missing
# ones; otherwise it prints the apt-get line to run and fails.
#
#   scripts/dependances.sh jeu      build and play (./jouer.sh)
#   scripts/dependances.sh paquet   build the Debian package (scripts/paquet.sh)
#   scripts/dependances.sh tests    build and run every test (./tester.sh)
set -euo pipefail

# Building and playing: the compiler, Qt with its translation tools and its own French texts,
# and the fonts the windows are laid out with.
jeu=(cmake g++ make pkg-config qt6-base-dev libgl-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
     fonts-dejavu-core fonts-liberation2)
# The package: dpkg-shlibdeps reads the dependencies off the program.
paquet=("${jeu[@]}" dpkg-dev fakeroot)
# Every test: the suites, the sanitizers and the fuzzer, the real window on a private X server
# with its screenshots, the desktop's validators, the manual pages, the package and lintian, and
# strace, which kills a game end at each of its system calls.
tests=("${paquet[@]}" libgtest-dev clang libclang-rt-14-dev xvfb xauth x11-utils xdotool
       imagemagick appstream desktop-file-utils groff-base man-db lintian strace)

case "${1:-}" in
    jeu) paquets=("${jeu[@]}") ;;
    paquet) paquets=("${paquet[@]}") ;;
    tests) paquets=("${tests[@]}") ;;
    *)
        echo "usage: $0 jeu|paquet|tests" >&2
        exit 2
        ;;
esac

manquants=()
for p in "${paquets[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
[ ${#manquants[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${manquants[@]}"
else
    echo "Paquets manquants. Lancez en root :" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${manquants[*]}" >&2
    exit 1
fi
