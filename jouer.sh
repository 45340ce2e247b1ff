#!/usr/bin/env bash
# Installs what building and playing need, builds the game and starts it. Arguments go to the
# game (./jouer.sh --help).
set -euo pipefail
cd "$(dirname "$0")"
scripts/dependances.sh jeu
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target canalisor
exec build/canalisor/canalisor "$@"
