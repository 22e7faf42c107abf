#!/usr/bin/env bash
# A shutdown cuts a long command short and the device goes down in order: SIGTERM during a
# script's `time advance` fails the script (exit status 1, the line named), and SIGTERM
# during the same command typed on standard input ends the host as well.
#   shutdown-cuts-short.sh HOST DEVICE_FOLDER
set -uo pipefail
host="$1" device="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Waits for the host to print "> time advance" (the command runs), then sends SIGTERM and
# returns the host's exit status; a host still running 10 s later fails the test.
terminate_during_advance() { # LOG PID
    local log="$1" pid="$2"
    for _ in $(seq 200); do grep -q "time advance\|ready;" "$log" && break; sleep 0.05; done
    sleep 0.3
    kill -TERM "$pid"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        echo "the host did not end within 10 s of SIGTERM" >&2
        exit 1
    fi
    wait "$pid"
}

printf 'time freeze\ntime advance 315360000\nexpect nothing of the kind\n' >"$work/term.txt"
"$host" --headless --reset --device "$device" --script "$work/term.txt" >"$work/script.log" 2>&1 &
status=0
terminate_during_advance "$work/script.log" $! || status=$?
cat "$work/script.log"
[ "$status" -eq 1 ] || { echo "expected exit status 1, got $status" >&2; exit 1; }
grep -q "FAILED at line 2: shut down before the script ended" "$work/script.log" \
    || { echo "no failure naming the cut line" >&2; exit 1; }
grep -q "ERROR shutting down" "$work/script.log" || { echo "the advance did not answer" >&2; exit 1; }

# The same command from standard input, which stays open.
mkfifo "$work/in"
"$host" --headless --device "$device" <"$work/in" >"$work/stdin.log" 2>&1 &
pid=$!
exec 3>"$work/in"
printf 'time freeze\ntime advance 315360000\n' >&3
terminate_during_advance "$work/stdin.log" $pid
exec 3>&-
cat "$work/stdin.log"
grep -q "ERROR shutting down" "$work/stdin.log" || { echo "the advance did not answer" >&2; exit 1; }
echo "passed"
