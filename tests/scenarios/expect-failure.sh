#!/usr/bin/env bash
# Runs a scenario that must fail: the host has to exit with status 1 (not crash, not pass)
# and name the failing line.
#   expect-failure.sh HOST DEVICE_FOLDER SCRIPT
set -uo pipefail
host="$1" device="$2" script="$3"
output=$("$host" --headless --reset --device "$device" --script "$script" 2>&1)
status=$?
echo "$output"
if [ "$status" -ne 1 ]; then
    echo "expected exit status 1, got $status" >&2
    exit 1
fi
grep -q "FAILED at line" <<<"$output" || { echo "no failure summary" >&2; exit 1; }
