#!/usr/bin/env bash
# Builds the Debian package canalisor_<version>_amd64.deb in the current folder, from a build
# folder of its own (build-paquet/) configured for /usr with Debian's hardening flags.
#
#   scripts/paquet.sh
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
"$racine"/scripts/dependances.sh paquet
sortie=$PWD
construction=$racine/build-paquet

# Debian's flags for a package: stack protector, fortified functions, full RELRO.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S "$racine" -B "$construction" -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$CPPFLAGS $CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build "$construction" -j"$(nproc)" --target canalisor canalisor_documentation
(cd "$construction" && cpack -G DEB)
cp "$construction"/canalisor_*.deb "$sortie"/
ls "$sortie"/canalisor_*.deb
