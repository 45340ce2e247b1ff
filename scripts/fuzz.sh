#!/usr/bin/env bash
# Fuzzes the best-scores file for SECONDS seconds (default 60) and fails on any finding.
#   scripts/fuzz.sh [SECONDS] [libFuzzer options...]
# The seed corpus is copied to a temporary directory, so the runs never write into the
# sources; a crashing input is kept in build-fuzz/trouvailles/ and the command that
# replays it is printed.
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
secondes=${1:-60}
shift $(( $# > 0 ? 1 : 0 ))
build=$racine/build-fuzz

CC=clang CXX=clang++ cmake -S "$racine" -B "$build" -DCANALISOR_FUZZ=ON -DCANALISOR_UI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target fuzz_scores -j"$(nproc)"

# The target writes a small file for every input: memory-backed /dev/shm keeps that cheap.
base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
travail=$(mktemp -d -p "$base" canalisor-fuzz.XXXXXX)
trap 'rm -rf "$travail"' EXIT
mkdir "$travail/corpus" "$travail/tmp"
cp "$racine"/fuzz/corpus/* "$travail/corpus/"
trouvailles=$build/trouvailles
mkdir -p "$trouvailles"

statut=0
TMPDIR=$travail/tmp "$build/fuzz/fuzz_scores" "$travail/corpus" \
    -max_total_time="$secondes" -max_len=4096 -rss_limit_mb=512 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$trouvailles/" "$@" || statut=$?
if [ "$statut" -ne 0 ]; then
    echo "fuzz: finding in $trouvailles (replay: $build/fuzz/fuzz_scores FILE)" >&2
    exit "$statut"
fi
echo "fuzz: no finding in $secondes s, corpus $(ls "$travail/corpus" | wc -l) inputs"
