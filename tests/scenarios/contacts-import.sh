#!/usr/bin/env bash
# vCard import through the console: a file of good and broken cards is pushed to the
# device and imported; the broken ones are named with their reason, the others listed.
# Then a device killed (SIGKILL) while the console adds contacts boots again with its
# store intact: nothing set aside, every contact it confirmed still there.
#   contacts-import.sh HOST DEVICE_FOLDER
set -euo pipefail
host="$1" device="$2"
work="$device.import"

fail() { echo "contacts-import: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
printf '%s\r\n' 'BEGIN:VCARD' 'VERSION:2.1' 'N;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:M=C3=BCller;J=C3=BC=' \
    'rgen' 'TEL;CELL:+49 171 1234567' 'END:VCARD' \
    'BEGIN:VCARD' 'VERSION:3.0' 'FN:Broken' 'PHOTO;ENCODING=b:***' 'END:VCARD' \
    'BEGIN:VCARD' 'VERSION:3.0' 'N:Nkosi;Thabo;;;' 'ORG:Highveld' '  Mining' 'TEL;TYPE=work:+27 11 123 4567' \
    'EMAIL:thabo@example.org' 'END:VCARD' >"$work/book.vcf"
cat >"$work/import.txt" <<SCRIPT
push "$work/book.vcf" "\\My Documents\\book.vcf"
contact import "\\My Documents\\book.vcf"
expect skipped card 2: PHOTO: bad base64 data
expect imported 2, skipped 1
contact list
expect 61 "Müller, Jürgen" mobile="+49 171 1234567"
expect 62 "Nkosi, Thabo" work="+27 11 123 4567"
contact show 62
expect COMPANY_NAME="Highveld Mining"
SCRIPT
"$host" --headless --reset --device "$device" --script "$work/import.txt" >"$work/log" 2>&1 ||
    fail "import script failed: $(cat "$work/log")"

# Kill -9 while adding: a script of many adds, the host killed part way.
for i in $(seq 1 1500); do echo "contact add FIRST_NAME=Kill$i MOBILE_TELEPHONE_NUMBER=+1555$i"; done >"$work/adds.txt"
"$host" --headless --reset --device "$device" --script "$work/adds.txt" >"$work/adds.log" 2>&1 &
pid=$!
sleep 0.7
kill -9 "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
confirmed=$(grep -c '^oid ' "$work/adds.log" || true)
printf 'contact list\n' >"$work/list.txt"
"$host" --headless --device "$device" --script "$work/list.txt" >"$work/list.log" 2>&1 ||
    fail "the device did not boot after the kill: $(cat "$work/list.log")"
ls "$device/data" | grep -q corrupt && fail "the store was set aside after a kill"
stored=$(grep -c '"Kill' "$work/list.log" || true)
[ "$stored" -ge "$confirmed" ] || fail "$confirmed adds were confirmed but only $stored are stored"
rm -rf "$work"
exit 0
