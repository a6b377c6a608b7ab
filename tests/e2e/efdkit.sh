#!/usr/bin/env bash
# efdkit end to end: pack a tree with nested folders and non-ASCII names,
# list it, unpack it, and have verify refuse damaged kits.
set -euo pipefail
efdkit="${QORN_BIN_DIR:?QORN_BIN_DIR not set}/efdkit"
[[ -x "$efdkit" ]] || { echo "efdkit not built: $efdkit"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/efdkit-e2e.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
fail() { echo "FAIL: $*" >&2; exit 1; }

# The tree, every file stamped with a known time.
src="$work/source tree"
mkdir -p "$src/templates/Accounting" "$src/templates/Reports/monthly" "$src/docs" "$src/Отчёты"
printf 'invoice\n' > "$src/templates/Accounting/invoice.tpl"
printf 'summary of the month\n' > "$src/templates/Reports/monthly/summary.tpl"
printf 'отчёт\n' > "$src/Отчёты/Отчёт.tpl"
printf '<html></html>\n' > "$src/docs/readme.html"
printf 'x' > "$src/with space \$HOME \"q\".tpl"
: > "$src/empty.tpl"
ln -s /etc/passwd "$src/templates/outside-link"
find "$src" -type f -exec touch -d @1500000000 {} +

kit="$work/qorn.efd"
"$efdkit" pack --lang en --product "Sample Templates" --provider "Qorn Labs" --description docs/readme.html \
    --lang ru --product "Образцы шаблонов" --provider "Лаборатория Корн" "$src" "$kit" 2> "$work/pack.err" \
    || fail "pack failed: $(cat "$work/pack.err")"
grep -q "skipped symbolic link templates/outside-link" "$work/pack.err" || fail "no warning for the link"

# list: descriptions, then the entries in byte order of their paths.
LC_ALL=C.UTF-8 "$efdkit" list "$kit" > "$work/list.txt" || fail "list failed"
cat > "$work/expected.txt" <<'LIST'
description en: product "Sample Templates", provider "Qorn Labs", document "docs\readme.html"
description ru: product "Образцы шаблонов", provider "Лаборатория Корн", document ""
docs\readme.html	2017-07-14T02:40:00Z	14
empty.tpl	2017-07-14T02:40:00Z	0
templates\Accounting\invoice.tpl	2017-07-14T02:40:00Z	8
templates\Reports\monthly\summary.tpl	2017-07-14T02:40:00Z	21
with space $HOME "q".tpl	2017-07-14T02:40:00Z	1
Отчёты\Отчёт.tpl	2017-07-14T02:40:00Z	11
LIST
diff -u "$work/expected.txt" "$work/list.txt" || fail "list output differs"

# The same tree gives the same kit.
"$efdkit" pack --lang en --product "Sample Templates" --provider "Qorn Labs" --description docs/readme.html \
    --lang ru --product "Образцы шаблонов" --provider "Лаборатория Корн" "$src" "$work/again.efd" 2>/dev/null
cmp -s "$kit" "$work/again.efd" || fail "packing twice gave different kits"

# A single-language header.
"$efdkit" pack --single --product "Only" "$src" "$work/single.efd" 2>/dev/null
"$efdkit" list "$work/single.efd" | head -1 | grep -qx 'description en: product "Only", provider "", document ""' \
    || fail "single-language header not listed as one English description"

# unpack restores contents and times; the link was never packed.
"$efdkit" unpack "$kit" "$work/out" > /dev/null || fail "unpack failed"
rm "$src/templates/outside-link"
diff -r "$src" "$work/out" || fail "unpacked tree differs"
[[ $(stat -c %Y "$work/out/Отчёты/Отчёт.tpl") == 1500000000 ]] || fail "unpacked time not kept"

out=$("$efdkit" verify "$kit") || fail "verify refused a good kit"
[[ "$out" == "OK: 6 entries, 55 bytes" ]] || fail "verify said: $out"

# Damaged kits: each refused with a non-zero status and one line of reason.
expect_refused() {
    local what=$1 file=$2 err
    if err=$("$efdkit" verify "$file" 2>&1); then fail "verify accepted $what"; fi
    [[ $(printf '%s\n' "$err" | wc -l) == 1 ]] || fail "verify of $what said more than one line: $err"
    echo "refused $what: $err"
}
gzip -n -c < "$src/docs/readme.html" > "$work/gzip.efd"
expect_refused "a gzip file" "$work/gzip.efd"
size=$(stat -c %s "$kit")
head -c $((size / 2)) "$kit" > "$work/truncated.efd"
expect_refused "a truncated stream" "$work/truncated.efd"
: > "$work/empty.efd"
expect_refused "an empty file" "$work/empty.efd"
# Image: multi-language header without records, one entry "a" of 100 bytes
# at offset 0, then only 3 bytes of data. gzip's own wrapper is cut off to
# leave the raw deflate stream.
printf '\x01\0\0\0\0\0\0\0\x01\0\0\0\x1a\0\0\0\x01\0\0\0a\0\0\0\0\0\0\0\0\0\0\0\0\0\x64\0\0\0abc' \
    | gzip -n -c | tail -c +11 | head -c -8 > "$work/past.efd"
expect_refused "an entry past the image" "$work/past.efd"
"$efdkit" verify "$work/missing.efd" 2>/dev/null && fail "verify accepted a missing kit"

# Bad arguments: usage and exit status 2.
for args in "" "frob" "list" "pack only-one" "pack --lang" "unpack $kit" "pack --bogus x a b"; do
    status=0
    # shellcheck disable=SC2086 # the words are meant to split
    "$efdkit" $args > /dev/null 2> "$work/usage.err" || status=$?
    [[ $status == 2 ]] || fail "efdkit $args exited $status, not 2"
    grep -q '^usage: efdkit' "$work/usage.err" || fail "efdkit $args printed no usage"
done

[[ -z "$(ls -A "$TMPDIR")" ]] || fail "temporary files left behind: $(ls -A "$TMPDIR")"
echo "efdkit end to end: all passed"
