#!/usr/bin/env bash
# Copies of the game that end their games at the same instant against one file: in each round
# a burst of copies, each with a score of its own, starts at once; afterwards the file must
# hold the five best of the burst's scores. Bursts of 5 and 10 copies, ROUNDS rounds of each.
# With JOUEURS="a b" (run as root), the copies take turns as these two users in a folder that
# everyone may write, with the sticky bit, the file being the first user's, mode 0666.
#
#   copies.sh BUILD_DIR [ROUNDS]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [ROUNDS]" >&2; exit 2; }
ecrivain=$(cd "$1" && pwd)/tests/scores/ecrivain_scores
tours=${2:-10}
read -r -a joueurs <<<"${JOUEURS:-}"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 1777 "$tmp"
cd "$tmp"

copies=0
attendus=0
gardes=0
for rafale in 5 10; do
    for ((tour = 1; tour <= tours; tour++)); do
        printf 'Anonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\nAnonyme\r\n0\r\n' >canalisor.txt
        if [ ${#joueurs[@]} -eq 2 ]; then
            chown "${joueurs[0]}" canalisor.txt
            chmod 0666 canalisor.txt
        fi
        # The copies wait at the fifo until all are started, then go together; it stays open
        # here until they end, so that none waits for a writer that has gone.
        rm -f depart && mkfifo depart
        exec 3<>depart
        pids=()
        for ((k = 1; k <= rafale; k++)); do
            commande=(sh -c 'read -r _ <depart && exec "$0" canalisor.txt "$1" "$2"' "$ecrivain" "Copie$k" "$((100 + k))")
            if [ ${#joueurs[@]} -eq 2 ]; then
                commande=(setpriv --reuid="${joueurs[k % 2]}" --regid="${joueurs[k % 2]}" --init-groups "${commande[@]}")
            fi
            "${commande[@]}" &
            pids+=($!)
        done
        # One line each, which sh reads a byte at a time.
        for ((k = 1; k <= rafale; k++)); do echo go; done >&3
        echecs=0
        for pid in "${pids[@]}"; do wait "$pid" || echecs=$((echecs + 1)); done
        exec 3>&-
        copies=$((copies + rafale))
        # The five best of the burst: scores 100 + rafale down to 100 + rafale - 4.
        for ((k = rafale; k > rafale - 5; k--)); do
            attendus=$((attendus + 1))
            grep -qx "Copie$k $((100 + k))" <<<"$("$ecrivain" canalisor.txt)" && gardes=$((gardes + 1))
        done
        [ "$echecs" -eq 0 ] || echo "copies: burst of $rafale, round $tour: $echecs copies failed to write" >&2
    done
done
echo "copies: $copies copies in bursts of 5 and 10, $tours rounds each: $gardes of $attendus scores kept"
[ "$gardes" -eq "$attendus" ]
