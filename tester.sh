#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the normal build with warnings
# as errors, the Debian package installed and played (as root only), the same suites under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded run of the fuzz target. Set
# RAPIDE=1 to run only the first stage.
set -euo pipefail
cd "$(dirname "$0")"
scripts/dependances.sh tests
jobs=$(nproc)

echo "== build and tests"
cmake -S . -B build -DCANALISOR_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

[ "${RAPIDE:-0}" = 1 ] && exit 0

echo "== the Debian package, installed and played by an ordinary user, then purged"
scripts/essai-paquet.sh

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCANALISOR_WERROR=ON -DCANALISOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs"

if [ -x scripts/fuzz.sh ]; then
    echo "== fuzzing the best-scores file"
    scripts/fuzz.sh "${FUZZ_SECONDES:-60}"
fi
