#!/usr/bin/env bash
# Changes to the SIM card and the call log survive a device killed right after they were
# answered: each one was committed before its OK.
#   store-kill.sh HOST DEVICE_FOLDER
set -euo pipefail
host="$1" device="$2"
fail() { echo "store-kill: $*" >&2; exit 1; }

. "$(dirname "${BASH_SOURCE[0]}")/running-device.sh"
start_device "$host" "$device"

answer=$(printf '%s\n' 'sim add 77 "Kept Across" 0123456' 'sim remove 1' \
    'calllog add 0800111222 in 2031-02-03T04:05:06 42 name="Killed"' | "$host" console --device "$device")
grep -qx "id 51" <<<"$answer" || fail "unexpected answer: $answer"

kill -9 "$device_pid"
wait "$device_pid" 2>/dev/null || true
exec 3>&-
rm -f "$input"

script="$device.check.txt"
cat >"$script" <<'SCRIPT'
sim list
expect 77 "Kept Across" 0123456
expect-not "Mum"
calllog list
expect 51 2031-02-03T04:05:06 in 42 0800111222 name="Killed"
SCRIPT
"$host" --headless --device "$device" --script "$script" >"$device.check.log" 2>&1 ||
    fail "the changes did not survive: $(cat "$device.check.log")"
exit 0
