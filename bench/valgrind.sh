#!/usr/bin/env bash
# valgrind.sh - memcheck of scripted sessions of the windowed program, on its own Xvfb:
#   1. canalisor-bench-handlers --session: the real main window in a scripted world; starts
#      a game, lays the scripted player's pipes through PoserTuyau, ticks through three
#      levels, loses every try to the end of the game and its name box, opens and closes the
#      three side windows, changes the difficulty, starts again, quits.
#   2. the program itself (canalisor, from a copy of its folder), driven with xdotool:
#      "Nouvelle partie" from the menu, clicks on cells, "Vannes max." and real clock ticks
#      through lost tries (the real message boxes, answered with Return), the rules and
#      about windows, then "Quitter" from the menu (which closes the side windows).
# Each runs under
#   valgrind --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite,possible
# and the script sorts the definite leaks: ours (the first frame past the allocator is in
# ui/, game/, scores/, bench/ or tests/support/, or in namespace canalisor) or elsewhere
# (Qt, fontconfig, ...: listed with the nearest frame of ours, for review). Qt's and
# fontconfig's "still reachable" blocks are caches kept until exit, not leaks.
# Exit status 0 when no definite leak is ours (and no memory error has a frame of ours near
# its top). libdbus forks at start-up to autolaunch a session bus when there is none: that
# child's log (its parent PID is the program's) is the leak check of its image before exec.
#
# Env: BUILD (RelWithDebInfo build, default $TMPDIR/canalisor-bench-debug), OUT (logs,
# default $TMPDIR/canalisor-valgrind), ONLY="session program" (subset).
# Needs: valgrind xvfb xdotool x11-utils. Takes about 2 minutes on 2 cores, plus the build.
set -u
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
tmp=${TMPDIR:-/tmp}
BUILD=${BUILD:-$tmp/canalisor-bench-debug}
OUT=${OUT:-$tmp/canalisor-valgrind}
ONLY=${ONLY:-session program}
want() { [[ " $ONLY " == *" $1 "* ]]; }
for t in valgrind Xvfb xdotool; do command -v "$t" >/dev/null || { echo "valgrind.sh: missing $t" >&2; exit 2; }; done
mkdir -p "$OUT"

echo "building (RelWithDebInfo) in $BUILD, log $OUT/build.log" >&2
{ cmake -S "$repo" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
  cmake --build "$BUILD" -j"$(nproc)" --target canalisor canalisor-bench-handlers; } >"$OUT/build.log" 2>&1 ||
  { tail -20 "$OUT/build.log"; exit 1; }

work=$(mktemp -d "$tmp/canalisor-valgrind.XXXXXX")
xvfb="" vg=""
cleanup() {
  [ -n "$vg" ] && kill "$vg" 2>/dev/null && wait "$vg" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 5 -screen 0 1920x1080x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do grep -q . "$work/display" && break; sleep 0.05; done
export DISPLAY=:$(head -1 "$work/display") XDG_RUNTIME_DIR=$work
mkdir -p "$work/game"
cp "$BUILD/canalisor/canalisor" "$BUILD/canalisor/canalisor-bench-handlers" "$BUILD/canalisor/"*.bmp \
  "$BUILD/canalisor/canalisor.txt" "$work/game/"

vg_opts=(--leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite,possible
         --num-callers=40 --fullpath-after="$repo/" --track-origins=no)

# Sorts the loss records of a memcheck log; prints a report, returns 1 if any definite one is ours.
sort_leaks() {  # LOG NAME
  sed 's/^==[0-9]*== \{0,1\}//' "$1" | awk -v name="$2" '
    function ours(f) { return f ~ /\((ui|game|scores|bench|tests\/support)\/[^ ]*:[0-9]+\)/ || f ~ /canalisor::/ }
    function alloc(f) { return f ~ /(malloc|calloc|realloc|memalign|operator new|strdup|posix_memalign)/ && f ~ /vgpreload|\(in \/usr\/lib.*valgrind/ }
    function flush() {
      if (rec != "" && kind != "") {
        first = ""; near = ""
        for (i = 1; i <= nf; i++) {
          if (first == "" && !alloc(fr[i])) first = fr[i]
          if (near == "" && ours(fr[i])) near = fr[i]
        }
        sub(/^ *(at|by) 0x[0-9A-F]+: /, "", first); sub(/^ *(at|by) 0x[0-9A-F]+: /, "", near)
        if (kind == "error") {
          n_err++
          for (i = 1; i <= nf && i <= 4; i++) if (ours(fr[i])) { n_err_ours++; print "OURS: " head "\n    in " fr[i] > "/dev/stderr"; ours_txt = ours_txt "\n" rec; break }
        }
        else if (kind == "definite" && ours(first)) { n_ours++; print "OURS: " head "\n    allocated in " first > "/dev/stderr"; ours_txt = ours_txt "\n" rec }
        else if (kind == "definite") { n_lib++; lib[first " <- " (near == "" ? "(no frame of ours)" : near)] += bytes }
        else { n_pos++; if (ours(first)) n_pos_ours++ }
      }
      rec = ""; kind = ""; nf = 0
    }
    /^$/ { flush(); next }
    /are definitely lost in loss record/ { flush(); kind = "definite"; head = $0; bytes = $1; gsub(/,/, "", bytes); rec = $0; next }
    /are possibly lost in loss record/ { flush(); kind = "possible"; head = $0; rec = $0; next }
    /^(Invalid (read|write|free)|Conditional jump|Use of uninitialised|Syscall param|Mismatched free|Source and destination overlap|Argument .* of function)/ {
      flush(); kind = "error"; head = $0; rec = $0; next }
    kind != "" && /^ *(at|by) 0x/ { fr[++nf] = $0; rec = rec "\n" $0; next }
    /^ *(definitely lost|indirectly lost|possibly lost|still reachable|suppressed):/ { summary = summary "\n  " $0 }
    /^ERROR SUMMARY/ { errs = $0 }
    /^Command: / { cmd = substr($0, 10) }
    /^Parent PID: / { parent = $3 }
    END {
      flush()
      printf "== %s (%s, parent PID %s)\n  leak summary:%s\n  %s\n", name, cmd, parent, summary, errs
      printf "  memory errors other than leaks: %d (with a frame of ours in the top four: %d)\n", n_err, n_err_ours
      printf "  definite leaks allocated by our code: %d\n", n_ours
      printf "  definite leaks allocated elsewhere: %d (first frame past the allocator <- nearest frame of ours):\n", n_lib
      for (k in lib) printf "    %s bytes: %s\n", lib[k], k
      printf "  possibly lost records: %d (of which allocated by our code: %d)\n", n_pos, n_pos_ours
      if (n_ours || n_err_ours) { printf "  records:%s\n", ours_txt; exit 1 }
    }'
}

status=0
if want session; then
  echo "### memcheck: canalisor-bench-handlers --session" >&2
  rm -f "$OUT"/session.*.memcheck
  valgrind "${vg_opts[@]}" --log-file="$OUT/session.%p.memcheck" "$work/game/canalisor-bench-handlers" --session \
    >"$OUT/session.out" 2>"$OUT/session.err"
  echo "exit status $?: $(cat "$OUT/session.out")"
  for f in "$OUT"/session.*.memcheck; do sort_leaks "$f" "session, log $(basename "$f")" || status=1; done
fi

if want program; then
  echo "### memcheck: canalisor driven with xdotool" >&2
  rm -f "$OUT"/program.*.memcheck
  ( cd "$work/game" && exec valgrind "${vg_opts[@]}" --log-file="$OUT/program.%p.memcheck" ./canalisor ) \
    >"$OUT/program.out" 2>&1 &
  vg=$!
  win=""
  for _ in $(seq 240); do
    win=$(xdotool search --onlyvisible --name '^Canalisor$' 2>/dev/null | head -1)
    [ -n "$win" ] && break; sleep 0.5
  done
  if [ -z "$win" ]; then
    echo "the program showed no window under valgrind" >&2; status=1
  else
    sleep 3
    # Window-relative positions: the menu bar's first title, then the board below it.
    menubar=$(( $(xwininfo -id "$win" | awk '/Height:/{print $2}') - 738 ))
    menu() {  # keys... : opens "Fichier" and types the keys into the menu
      xdotool mousemove --window "$win" 20 $((menubar / 2)) click 1; sleep 2
      xdotool key --delay 300 "$@"; sleep 3
    }
    menu Down Return                       # "Nouvelle partie"
    for i in 16 17 18 31 32 33 46 47 48 61 62 63 76 77 78; do
      xdotool mousemove --window "$win" $((48 + 80 * (i % 15))) $((menubar + 128 + 80 * (i / 15))) click 1
      sleep 0.5
    done
    xdotool mousemove --window "$win" 616 $((menubar + 48)) click 1   # "Vannes max.": the liquids flow
    for _ in $(seq 20); do sleep 1.5; xdotool key Return 2>/dev/null; done   # boxes answered
    xdotool mousemove --window "$win" 83 $((menubar / 2)) click 1; sleep 4    # "Règles"
    xdotool mousemove --window "$win" 145 $((menubar / 2)) click 1; sleep 4   # "A propos"
    # With no window manager the side windows open over the menu bar: move them aside.
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
      [ "$w" = "$win" ] || xdotool windowmove "$w" 1300 0 2>/dev/null
    done
    sleep 2
    menu Up Return                         # "Quitter"
    for _ in $(seq 60); do [ -e "/proc/$vg" ] || break; xdotool key Return 2>/dev/null; sleep 1; done
  fi
  wait "$vg"; echo "exit status $?"; vg=""
  for f in "$OUT"/program.*.memcheck; do
    [ -s "$f" ] && { sort_leaks "$f" "program, log $(basename "$f")" || status=1; }
  done
fi
echo "logs: $OUT" >&2
exit $status
