#!/usr/bin/env bash
# run.sh - measures the game against the Qt floor, one right after the other so that both
# see the same machine: start-up, memory and idle CPU (shared startup.sh, RUNS runs of each,
# interleaved), then the floor's pixmap-reload timing and the game's handler timing
# (canalisor-bench-handlers) in alternating processes on one Xvfb. Prints a summary table
# with the goals.
#
# Everything it builds or writes goes under ${TMPDIR:-/tmp}:
#   SHARED=dir   the shared folder holding bench/startup.sh and bench/qtfloor
#                (default: ../../shared from this script, i.e. beside the repository)
#   BUILD=dir    the game's Release build (default $TMPDIR/canalisor-bench-build)
#   FLOOR_BUILD=dir  the floor's Release build (default $TMPDIR/canalisor-bench-qtfloor)
#   OUT=dir      TSV files, logs and summary (default $TMPDIR/canalisor-bench-results)
#   RUNS=10 IDLE=10 ITERS=100 REPEATS=5
#   ONLY="startup handlers"   subset to run (ONLY=summary: only the table, from OUT's files)
#   NOBUILD=1    use the builds already in BUILD and FLOOR_BUILD as they are
# About 10 minutes with the defaults. Needs: xvfb x11-utils xdotool (Debian), cmake, a C++
# compiler, Qt 6 (qt6-base-dev), GTest (libgtest-dev) and the xcb headers (libxcb1-dev).
set -u
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
tmp=${TMPDIR:-/tmp}
SHARED=${SHARED:-$here/../../shared}
BUILD=${BUILD:-$tmp/canalisor-bench-build}
FLOOR_BUILD=${FLOOR_BUILD:-$tmp/canalisor-bench-qtfloor}
OUT=${OUT:-$tmp/canalisor-bench-results}
RUNS=${RUNS:-10} IDLE=${IDLE:-10} ITERS=${ITERS:-100} REPEATS=${REPEATS:-5}
ONLY=${ONLY:-startup handlers}
want() { [[ " $ONLY " == *" $1 "* ]]; }

startup=$SHARED/bench/startup.sh
[ -x "$startup" ] || [ -f "$startup" ] || { echo "run.sh: no $startup (set SHARED)" >&2; exit 2; }
[ -f "$SHARED/bench/qtfloor/CMakeLists.txt" ] || { echo "run.sh: no qtfloor in $SHARED/bench" >&2; exit 2; }

missing=""
for p in xvfb x11-utils xdotool; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=" $p"
done
for t in Xvfb xev xwininfo xprop xdotool cmake; do command -v "$t" >/dev/null || missing+=" ($t)"; done
[ -z "$missing" ] || { echo "run.sh: missing packages:$missing (apt-get install xvfb x11-utils xdotool)" >&2; exit 2; }

mkdir -p "$OUT"
if want startup || want handlers; then
[ "${NOBUILD:-0}" = 1 ] || echo "building the floor and the game (Release), logs in $OUT/build.log" >&2
[ "${NOBUILD:-0}" = 1 ] || {
  cmake -S "$SHARED/bench/qtfloor" -B "$FLOOR_BUILD" -DCMAKE_BUILD_TYPE=Release &&
    cmake --build "$FLOOR_BUILD" -j"$(nproc)" &&
    cmake -S "$repo" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release &&
    cmake --build "$BUILD" -j"$(nproc)" --target canalisor canalisor-bench-handlers
} >"$OUT/build.log" 2>&1 || { tail -20 "$OUT/build.log"; exit 1; }
QTFLOOR=$FLOOR_BUILD/qtfloor
BENCH=$BUILD/canalisor/canalisor-bench-handlers
QT_QPA_PLATFORM=offscreen "$QTFLOOR" --make-tiles >/dev/null 2>&1

# The program reads its tiles and canalisor.txt from its own folder: run a copy of that
# folder, so that nothing a run does touches the build.
game_dir=$(mktemp -d "$tmp/canalisor-bench-game.XXXXXX")
trap 'rm -rf "$game_dir"' EXIT
cp "$BUILD/canalisor/canalisor" "$BUILD/canalisor/"*.bmp "$BUILD/canalisor/canalisor.txt" "$game_dir/"

{
  echo "# host: $(nproc) CPUs, $(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1), kernel $(uname -r)"
  echo "# Qt6 $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null), game $(git -C "$repo" describe --always --dirty 2>/dev/null)"
  echo "# runs=$RUNS idle=${IDLE}s iters=$ITERS repeats=$REPEATS, loadavg $(cut -d' ' -f1-3 /proc/loadavg), $(date -u +%FT%TZ)"
} | tee "$OUT/host.txt"
fi

if want startup; then
  # Interleaved, one run of each in turn, so that a burst of load elsewhere on the machine
  # falls on both programs alike; one warm-up run of each first.
  echo; echo "### startup.sh, $RUNS runs of each, interleaved: qtfloor, game, qtfloor, game, ..."
  rm -f "$OUT/startup-qtfloor.tsv" "$OUT/startup-game.tsv"
  for r in $(seq 0 "$RUNS"); do
    for name in qtfloor game; do
      cmd=("$QTFLOOR"); [ $name = game ] && cmd=("$game_dir/canalisor")
      bash "$startup" -q -n 1 -w 0 -i "$IDLE" -o "$OUT/one.tsv" -L "$OUT/logs-$name-$r" -- "${cmd[@]}" \
        >"$OUT/one.txt" 2>&1 || { echo "run $r of $name failed:"; cat "$OUT/one.txt"; continue; }
      [ "$r" = 0 ] && continue      # warm-up
      [ -f "$OUT/startup-$name.tsv" ] || head -1 "$OUT/one.tsv" >"$OUT/startup-$name.tsv"
      tail -n +2 "$OUT/one.tsv" | sed "s/^[^\t]*/$r/" >>"$OUT/startup-$name.tsv"
    done
  done
  rm -f "$OUT/one.tsv" "$OUT/one.txt"
  for name in qtfloor game; do
    echo "-- $name"; column -t -s $'\t' "$OUT/startup-$name.tsv" | cut -c1-200
  done
fi

if want handlers; then
  echo; echo "### qtfloor --bench-reload $ITERS and canalisor-bench-handlers $ITERS, x$REPEATS alternating, one Xvfb"
  Xvfb -displayfd 5 -screen 0 1920x1080x24 -nolisten tcp 5>"$OUT/xvfb.display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do grep -q . "$OUT/xvfb.display" && break; sleep 0.05; done
  export DISPLAY=:$(head -1 "$OUT/xvfb.display") XDG_RUNTIME_DIR=$(mktemp -d "$tmp/canalisor-bench-xdg.XXXXXX")
  : >"$OUT/reload.txt"; : >"$OUT/handlers.txt"
  for _ in $(seq "$REPEATS"); do
    "$QTFLOOR" --bench-reload "$ITERS" >>"$OUT/reload.txt" 2>>"$OUT/reload.err"
    "$BENCH" "$ITERS" >>"$OUT/handlers.txt" 2>>"$OUT/handlers.err" || echo "canalisor-bench-handlers failed, see $OUT/handlers.err" >&2
  done
  kill "$xvfb"; wait "$xvfb" 2>/dev/null
  rm -rf "$XDG_RUNTIME_DIR"
  cat "$OUT/reload.txt" "$OUT/handlers.txt"
fi

# ---- summary ---------------------------------------------------------------------------
col_median() {  # TSV column-name -> median of the column (rows after the header)
  [ -f "$1" ] || return 0
  awk -F'\t' -v c="$2" 'NR == 1 {for (i = 1; i <= NF; i++) if ($i == c) k = i; next}
    k && $k != "" {print $k}' "$1" | sort -g | awk '{v[NR] = $1} END {if (NR) printf "%.3f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
us_median() {  # file key -> median of the per-process medians of "key_us median=.."
  [ -f "$1" ] || return 0
  grep "^$2_us " "$1" | sed 's/.*median=\([0-9]*\).*/\1/' | sort -n |
    awk '{v[NR] = $1} END {if (NR) printf "%d", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
us_min() { [ -f "$1" ] && grep "^$2_us " "$1" | sed 's/.* min=\([0-9]*\).*/\1/' | sort -n | head -1; }
verdict() {  # game floor limit-factor [absolute-limit] -> "met"/"MISSED"
  awk -v g="$1" -v f="$2" -v x="$3" -v a="${4:-}" 'BEGIN {
    if (g == "" || f == "") {print "n/a"; exit}
    if (x == "") {print ""; exit}
    ok = (g <= f * x) && (a == "" || g <= a); print ok ? "met" : "MISSED" }'
}
ratio() { awk -v g="$1" -v f="$2" 'BEGIN {if (g == "" || f == "" || f == 0) print "-"; else printf "%.2f", g / f}'; }

{
  echo
  echo "== summary (medians; for the timings, the median of the $REPEATS process medians and, in"
  echo "   brackets, the fastest single run; floor = qtfloor from $SHARED/bench)"
  printf '%-40s %10s %10s %6s  %-26s %s\n' metric game floor ratio goal verdict
  fs=$OUT/startup-qtfloor.tsv gs=$OUT/startup-game.tsv
  if [ -f "$fs" ] && [ -f "$gs" ]; then
    row() {  # label column unit-divisor factor goal-text
      local g f gd fd   # ratio and verdict from the unrounded medians
      g=$(col_median "$gs" "$2"); f=$(col_median "$fs" "$2")
      gd=$(awk -v v="$g" -v d="$3" 'BEGIN {if (v != "") printf "%.2f", v / d}')
      fd=$(awk -v v="$f" -v d="$3" 'BEGIN {if (v != "") printf "%.2f", v / d}')
      printf '%-40s %10s %10s %6s  %-26s %s\n' "$1" "$gd" "$fd" "$(ratio "$g" "$f")" "$5" "$(verdict "$g" "$f" "$4")"
    }
    row "map_ms (exec to window)" map_ms 1 1.1 "<= 1.1 x floor"
    row "rss_MB" rss_kb 1024 1.1 "<= 1.1 x floor"
    row "anon_MB (private)" anon_kb 1024 1.1 "<= 1.1 x floor"
    row "pss_MB" pss_kb 1024 1.1 "<= 1.1 x floor"
    row "hwm_MB (peak rss)" hwm_kb 1024 "" "(info)"
    row "start_cpu_ms" start_cpu_ms 1 "" "(info)"
    row "idle_cpu_ms per ${IDLE}s (ticks)" idle_cpu_ms 1 1.0 "<= floor"
    row "idle_cpu_sched_ms per ${IDLE}s" idle_cpu_sched_ms 1 1.0 "<= floor"
    row "xvfb_idle_ms per ${IDLE}s" xvfb_idle_ms 1 "" "(info)"
  fi
  if [ -f "$OUT/handlers.txt" ] && [ -f "$OUT/reload.txt" ]; then
    reload=$(us_median "$OUT/reload.txt" reload_cached_qpixmap_file)
    decode=$(us_median "$OUT/reload.txt" reload_decode_qimage_file)
    frep=$(us_median "$OUT/reload.txt" repaint_only)
    printf '%-40s %10s %10s %6s  %-26s %s\n' "floor reload (QPixmap file) us (min $(us_min "$OUT/reload.txt" reload_cached_qpixmap_file))" "" "$reload" "" "the reference" ""
    printf '%-40s %10s %10s %6s  %-26s %s\n' "floor reload (decode) us" "" "$decode" "" "(info)" ""
    g=$(us_median "$OUT/handlers.txt" repaint_only)
    printf '%-40s %10s %10s %6s  %-26s %s\n' "repaint_only us" "$g" "$frep" "$(ratio "$g" "$frep")" "(info)" ""
    for k in handler_level_start handler_level15_start handler_tick_4_liquids handler_click_empty_cell; do
      g=$(us_median "$OUT/handlers.txt" $k)
      printf '%-40s %10s %10s %6s  %-26s %s\n' "$k us (min $(us_min "$OUT/handlers.txt" $k))" "$g" "$reload" \
        "$(ratio "$g" "$reload")" "<= 1.1 x reload, < 16000" "$(verdict "$g" "$reload" 1.1 16000)"
    done
  fi
} | tee "$OUT/summary.txt"
