#!/usr/bin/env bash
# efdkit: pack a tree with nested folders and non-ASCII names, list and unpack it, refuse damaged kits.
set -euo pipefail
efdkit="${QORN_BIN_DIR:?QORN_BIN_DIR not set}/efdkit"
[[ -x "$efdkit" ]] || { echo "efdkit not built: $efdkit"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/efdkit-e2e.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
export TMPDIR="$work/tmp" LC_ALL=C.UTF-8
fail() { echo "FAIL: $*" >&2; exit 1; }

src="$work/source tree"
mkdir -p "$TMPDIR" "$src/templates/Reports/monthly" "$src/docs" "$src/Отчёты"
printf 'summary of the month\n' > "$src/templates/Reports/monthly/summary.tpl"
printf 'отчёт\n' > "$src/Отчёты/Отчёт.tpl"
printf '<html></html>\n' > "$src/docs/readme.html"
printf 'x' > "$src/with space \$HOME \"q\".tpl"
: > "$src/empty.tpl"
find "$src" -type f -exec touch -d @1500000000.1234567 {} +
ln -s /etc/passwd "$src/templates/outside-link"
pack() {
    "$efdkit" pack --lang en --product "Sample Templates" --provider "Qorn Labs" --description docs/readme.html \
        --lang ru --product "Образцы шаблонов" --provider "Лаборатория Корн" "$src" "$1" > /dev/null
}
pack "$work/qorn.efd" || fail "pack failed"
pack "$work/again.efd" 2> /dev/null
cmp -s "$work/qorn.efd" "$work/again.efd" || fail "packing the same tree twice gave different kits"

"$efdkit" list "$work/qorn.efd" | diff -u - <(cat <<'LIST'
description en: product "Sample Templates", provider "Qorn Labs", document "docs\readme.html"
description ru: product "Образцы шаблонов", provider "Лаборатория Корн", document ""
docs\readme.html	2017-07-14T02:40:00Z	14
empty.tpl	2017-07-14T02:40:00Z	0
templates\Reports\monthly\summary.tpl	2017-07-14T02:40:00Z	21
with space $HOME "q".tpl	2017-07-14T02:40:00Z	1
Отчёты\Отчёт.tpl	2017-07-14T02:40:00Z	11
LIST
) || fail "list output differs"

"$efdkit" unpack "$work/qorn.efd" "$work/out" > /dev/null || fail "unpack failed"
rm "$src/templates/outside-link"
diff -r "$src" "$work/out" || fail "unpacked tree differs"
[[ $(cd "$src" && find . -type f -printf '%p %T@\n' | sort) == $(cd "$work/out" && find . -type f -printf '%p %T@\n' | sort) ]] ||
    fail "unpacked times differ from the packed ones (fractions of a second included)"
[[ $("$efdkit" verify "$work/qorn.efd") == "OK: 5 entries, 47 bytes" ]] || fail "verify refused a good kit"

# A kit cut in half and a missing one are refused in one line (each kind of damage: tests/kit).
head -c $(($(stat -c %s "$work/qorn.efd") / 2)) "$work/qorn.efd" > "$work/truncated.efd"
for kit in truncated missing; do
    if reason=$("$efdkit" verify "$work/$kit.efd" 2>&1); then fail "verify accepted $kit.efd"; fi
    [[ $(wc -l <<< "$reason") == 1 ]] || fail "verify of $kit.efd said more than one line: $reason"
done

# A name the installer would refuse as damaged is not packed at all.
mkdir "$work/bad"; printf 'x' > "$work/bad/two"$'\n'"lines.tpl"
if "$efdkit" pack "$work/bad" "$work/bad.efd" 2> /dev/null || [[ -e "$work/bad.efd" ]]; then
    fail "a name holding a line break was packed"
fi

[[ $("$efdkit" pack only-one 2>&1) == *$'\nusage: efdkit'* ]] || fail "bad arguments gave no usage"
[[ -z "$(ls -A "$TMPDIR")" ]] || fail "temporary files left behind: $(ls -A "$TMPDIR")"
echo "efdkit end to end: all passed"
