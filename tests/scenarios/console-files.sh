#!/usr/bin/env bash
# Files between the host and the device through the console: push, ls, pull and rm in a
# round trip, device paths matched without regard to case.
#   console-files.sh HOST DEVICE_FOLDER
set -euo pipefail
host="$1" device="$2"
work="$device.files"

fail() { echo "console-files: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
printf 'first line\nsecond line with \x01 bytes\n' >"$work/sample.txt"
size=$(stat -c %s "$work/sample.txt")
cat >"$work/files.txt" <<SCRIPT
push "$work/sample.txt" "\\My Documents\\Sample.txt"
ls "\\my documents"
expect Sample.txt $size
pull "\\MY DOCUMENTS\\sample.TXT" "$work/back.txt"
rm "\\My Documents\\sample.txt"
ls "\\My Documents"
expect-not Sample.txt
SCRIPT
"$host" --headless --reset --device "$device" --script "$work/files.txt" >"$work/log" 2>&1 ||
    fail "script failed: $(cat "$work/log")"
cmp -s "$work/sample.txt" "$work/back.txt" || fail "the pulled file differs from the pushed one"
[ -e "$device/fs/My Documents/Sample.txt" ] && fail "rm left the file on the device"
rm -rf "$work"
exit 0
