#!/usr/bin/env bash
# A running device answers clients on its console socket, one after another and at the
# same time, refuses a second device on its folder, and ends in order on `quit`.
#   console-socket.sh HOST DEVICE_FOLDER
set -euo pipefail
host="$1" device="$2"
fail() { echo "console-socket: $*" >&2; exit 1; }

. "$(dirname "${BASH_SOURCE[0]}")/running-device.sh"
start_device "$host" "$device"
[ "$(stat -c %a "$socket")" = 600 ] || fail "socket is not private to its user"

answer=$(printf 'time freeze\ntime set 2030-06-15T08:00:00\ntime get\n' | "$host" console --device "$device")
grep -qx "2030-06-15T08:00:00" <<<"$answer" || fail "unexpected answer: $answer"

# A client that waits does not stop another one from being answered afterwards.
printf 'wait 300\n' | "$host" console --device "$device" >"$device.slow" &
slow=$!
answer=$(printf 'time get\nnonsense\n' | "$host" console --device "$device")
wait "$slow"
grep -qx "OK" "$device.slow" || fail "the waiting client got no answer"
grep -q "^ERROR unknown command: nonsense$" <<<"$answer" || fail "unexpected answer: $answer"

if "$host" --headless --device "$device" </dev/null >/dev/null 2>&1; then
    fail "a second device started on a folder in use"
fi

printf 'quit\n' | "$host" console --device "$device" >/dev/null
wait "$device_pid" || fail "the device ended with status $?"
exec 3>&-
[ -e "$socket" ] && fail "the socket outlived the device"
rm -f "$input"
if "$host" console --device "$device" </dev/null >/dev/null 2>&1; then
    fail "a client connected after the device ended"
fi
exit 0
