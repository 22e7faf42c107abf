#!/bin/sh
# The package tool end to end: pack, list, hash, verify, extract, and the faults of broken
# packages. Usage: rpktool.sh RPKTOOL WORKDIR
set -u
tool="$1"
work="$2"
rm -rf "$work" && mkdir -p "$work/in" "$work/out" || exit 1
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { # check WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}

printf '<skin/>' > in/Default.skn
printf 'abc' > in/a.png
mkdir in/sub && printf 'nested' > in/sub/ignored.png

"$tool" pack in pkg.rpk || fail "pack exit $?"
[ -e pkg.rpk.tmp ] && fail "temporary file left behind"
# "a.png" hashes below "Default.skn": header 7, a.png at 7 (name 12 bytes, data at 33),
# Default.skn at 36 (name 24 bytes, data at 74).
check list "a.png 3 0x04B2D0D4 33
Default.skn 7 0xA0A0213F 74" "$("$tool" list pkg.rpk)"
check hash 0xA0A0213F "$("$tool" hash default.SKN)"
check verify "ok 2 entries" "$("$tool" verify pkg.rpk)"

"$tool" extract pkg.rpk out || fail "extract exit $?"
cmp -s in/a.png out/a.png || fail "a.png extracted differently"
cmp -s in/Default.skn out/Default.skn || fail "Default.skn extracted differently"
[ -e out/sub ] && fail "pack went into a sub-folder"

# Wrong magic and a count of 2 in a file cut inside the second entry.
cp pkg.rpk bad.rpk && printf 'RQ' | dd of=bad.rpk conv=notrunc 2>/dev/null
out=$("$tool" verify bad.rpk); status=$?
check "verify bad magic" "package: bad magic" "$out"
check "verify bad magic status" 1 "$status"
head -c 60 pkg.rpk > cut.rpk
out=$("$tool" verify cut.rpk); status=$?
check "verify cut" "entry 1: name outside the file" "$out"
check "verify cut status" 1 "$status"
# A wrong hash in the first entry is reported and the walk goes on.
cp pkg.rpk hash.rpk && printf '\001' | dd of=hash.rpk bs=1 seek=15 conv=notrunc 2>/dev/null
out=$("$tool" verify hash.rpk); status=$?
check "verify hash" "entry 0: name hash does not match the name" "$out"
check "verify hash status" 1 "$status"
"$tool" list hash.rpk >/dev/null 2>&1 && fail "list of a broken package exits 0"

# A name with ".." is refused on extraction; the other entries are still written.
mkdir dots && printf 'x' > dots/..evil && printf 'y' > dots/fine.txt
"$tool" pack dots dots.rpk || fail "pack dots exit $?"
mkdir dotsout
err=$("$tool" extract dots.rpk dotsout 2>&1); status=$?
check "extract refuses" "rpktool: refused entry name ..evil" "$err"
check "extract refuses status" 1 "$status"
[ -e dotsout/fine.txt ] || fail "fine.txt not extracted"

"$tool" bogus >/dev/null 2>&1; check "usage status" 2 $?

[ "$failures" -eq 0 ] && echo "rpktool: all checks passed"
[ "$failures" -eq 0 ]
