#!/usr/bin/env bash
# Makes sure the Debian 12 packages that building and testing need are there. As root it
# installs the missing ones; otherwise it prints the apt-get line to run and fails.
set -euo pipefail

paquets=(cmake g++ make pkg-config qt6-base-dev qt6-tools-dev qt6-l10n-tools libgl-dev libgtest-dev
         clang libclang-rt-14-dev fonts-dejavu-core fonts-liberation2
         xvfb xauth x11-utils xdotool imagemagick appstream desktop-file-utils
         qt6-translations-l10n dpkg-dev fakeroot lintian "$@")

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
