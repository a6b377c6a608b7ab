#!/usr/bin/env bash
# Shipping: efdkit's kits (control characters in shown names refused or shown), what `cmake --install` puts
# where, clean manual pages, and `efdkit bundle`'s one-file installer: its folder synced, a kit too long
# refused; installs as with the kit beside it from any working directory, refuses a cut or altered bundle
# before unpacking anything, and gives way to a kit beside it.
source "$(dirname "$0")/lib.sh"
e2e_need strace
e2e_init
build=$(cd "$E2E_BIN/.." && pwd)
efdkit=$E2E_BIN/efdkit
# refuses ARGS...: efdkit fails and says why in one line.
refuses() { ! "$efdkit" "$@" 2>"$E2E_ROOT/why" >/dev/null && test "$(wc -l <"$E2E_ROOT/why")" = 1; }

# ---- efdkit packs a tree with nested folders, non-ASCII names, blanks, a quote and a "$" the same way
# twice, lists and unpacks it with its times (fractions included), and leaves out a link and the
# installer's record folder; the kit is readable by others as the umask allows
tree="$E2E_WORK/source tree"
mkdir -p "$tree/templates/Reports/monthly" "$tree/docs" "$tree/Отчёты"
printf 'summary of the month\n' >"$tree/templates/Reports/monthly/summary.tpl"
printf 'отчёт\n' >"$tree/Отчёты/Отчёт.tpl"
printf '<html></html>\n' >"$tree/docs/readme.html"
printf 'x' >"$tree/with space \$HOME \"q\".tpl"
: >"$tree/empty.tpl"
find "$tree" -type f -exec touch -d @1500000000.1234567 {} +
ln -s /etc/passwd "$tree/templates/outside-link"
mkdir "$tree/.qorn-record" && printf 'x\n' >"$tree/.qorn-record/an installation.record"
umask 022
for kit in one two; do
    e2e_run "packing kit $kit" "$efdkit" pack --lang en --product "Sample Templates" --provider "Qorn Labs" \
        --description docs/readme.html --lang ru --product "Образцы шаблонов" --provider "Лаборатория Корн" \
        "$tree" "$E2E_WORK/$kit.efd"
done
e2e_check "the same tree packs into the same kit" cmp -s "$E2E_WORK/one.efd" "$E2E_WORK/two.efd"
e2e_check "the kit is made as the umask says" test "$(stat -c %a "$E2E_WORK/one.efd")" = 644
e2e_check "efdkit lists the descriptions and entries" diff -u - <("$efdkit" list "$E2E_WORK/one.efd") <<'LIST'
description en: product "Sample Templates", provider "Qorn Labs", document "docs\readme.html"
description ru: product "Образцы шаблонов", provider "Лаборатория Корн", document ""
docs\readme.html	2017-07-14T02:40:00Z	14
empty.tpl	2017-07-14T02:40:00Z	0
templates\Reports\monthly\summary.tpl	2017-07-14T02:40:00Z	21
with space $HOME "q".tpl	2017-07-14T02:40:00Z	1
Отчёты\Отчёт.tpl	2017-07-14T02:40:00Z	11
LIST
e2e_run "unpacking" "$efdkit" unpack "$E2E_WORK/one.efd" "$E2E_WORK/out"
rm -r "$tree/templates/outside-link" "$tree/.qorn-record"
files() { (cd "$1" && find . -type f -printf '%p %T@ ' -exec sha1sum {} \; | sort); }
e2e_check "the unpacked files are the packed ones" test "$(files "$tree")" = "$(files "$E2E_WORK/out")"
e2e_check "efdkit verifies the kit" test "$("$efdkit" verify "$E2E_WORK/one.efd")" = "OK: 5 entries, 47 bytes"
# A kit cut in half and a missing one are refused in one line (each kind of damage: tests/kit).
head -c $(($(stat -c %s "$E2E_WORK/one.efd") / 2)) "$E2E_WORK/one.efd" >"$E2E_WORK/cut.efd"
for kit in cut missing; do e2e_check "efdkit refuses the $kit kit" refuses verify "$E2E_WORK/$kit.efd"; done
mkdir "$E2E_WORK/bad"
printf 'x' >"$E2E_WORK/bad/two"$'\n'"lines.tpl"
e2e_check "a name the installer would refuse as damaged is not packed" \
    test "$("$efdkit" pack "$E2E_WORK/bad" "$E2E_WORK/bad.efd" 2>/dev/null; echo $?)" != 0 -a ! -e "$E2E_WORK/bad.efd"
e2e_check "...and the refusal shows that name's line break" \
    grep -qF 'two^Jlines.tpl' <("$efdkit" pack "$E2E_WORK/bad" "$E2E_WORK/bad.efd" 2>&1)
e2e_check "bad arguments give the usage" grep -q '^usage: efdkit' <("$efdkit" pack only-one 2>&1)
# Names a terminal shows: a control character in them is refused by pack, and shown, never sent, by list.
for option in --product --provider; do
    e2e_check "pack refuses a control character in $option" grep -qF -- "$option holds a control character" \
        <("$efdkit" pack "$option" "Bad$(printf '\033')]2;x" "$tree" "$E2E_WORK/bad.efd" 2>&1 && echo packed)
done
python3 - "$E2E_WORK/one.efd" "$E2E_WORK/hostile.efd" "$E2E_WORK/clash.efd" <<'PY'
import sys, zlib
image = zlib.decompress(open(sys.argv[1], 'rb').read(), -15)
def write(path, changed):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    open(path, 'wb').write(packer.compress(changed) + packer.flush())
write(sys.argv[2], image.replace('Sample'.encode('utf-16-le'), '\x1b]2;\x07\x9b'.encode('utf-16-le')))
# "empty.tpl" renamed "templates", a folder other entries lie in
write(sys.argv[3], image.replace('empty.tpl'.encode('utf-16-le'), 'templates'.encode('utf-16-le')))
PY
e2e_check "verify refuses a kit naming one path a file and a folder, and names it" \
    eval 'refuses verify "$E2E_WORK/clash.efd" && grep -q "entry templates is a file" "$E2E_ROOT/why"'
e2e_check "list shows a kit's control characters as text" test "$("$efdkit" list "$E2E_WORK/hostile.efd" | head -1)" = \
    'description en: product "^[]2;^GM-^[ Templates", provider "Qorn Labs", document "docs\readme.html"'
e2e_check "efdkit left nothing in TMPDIR" test -z "$(ls -A "$TMPDIR")"
e2e_sample_kit

# ---- cmake --install: the programs, pages and documents, nothing of the tests
e2e_run "cmake --install" env DESTDIR="$E2E_ROOT/dest" cmake --install "$build" --prefix /opt/qorn
e2e_check "the installed files are exactly the shipped ones" test "$(cd "$E2E_ROOT/dest" && find . ! -type d | sort)" = \
    "$(printf './opt/qorn/%s\n' bin/efdkit bin/setup share/doc/qorn-setup/README.md share/doc/qorn-setup/changelog.gz \
        share/doc/qorn-setup/copyright share/doc/qorn-setup/efdkit.md share/man/man1/efdkit.1.gz share/man/man1/setup.1.gz)"
for page in setup efdkit; do
    command -v man >/dev/null 2>&1 || { e2e_log "man is not installed: the manual pages are not rendered"; break; }
    warnings=$(MANWIDTH=80 man --warnings -l "$E2E_ROOT/dest/opt/qorn/share/man/man1/$page.1.gz" 2>&1 >"$E2E_ROOT/$page.txt")
    e2e_check "man renders $page.1 without warnings${warnings:+: $warnings}" test -z "$warnings"
    e2e_check "$page.1 has its sections" grep -q '^EXIT STATUS' "$E2E_ROOT/$page.txt"
done

# ---- the bundle is the installer plus the kit, executable for everyone
mkdir -p "$E2E_ROOT/one"
bundle=$E2E_ROOT/one/setup
e2e_run "bundling" "$efdkit" bundle "$E2E_INSTALL/setup" "$E2E_WORK/sample.efd" -o "$bundle"
e2e_check "the bundle has mode 0755" test "$(stat -c %a "$bundle")" = 755
strace -f -y -qq -o "$E2E_ROOT/bundle.trace" -e trace=rename,fsync \
    "$efdkit" bundle "$E2E_INSTALL/setup" "$E2E_WORK/sample.efd" -o "$E2E_ROOT/one/synced" >/dev/null
e2e_check "the bundle's folder is synced after the rename" \
    grep -q "fsync([0-9]*<$E2E_ROOT/one>)" <(sed -n '/^[0-9]* *rename(/,$p' "$E2E_ROOT/bundle.trace")
truncate -s 4G "$E2E_ROOT/huge.efd"   # one byte more than a bundle carries
e2e_check "a kit longer than the installer takes is not bundled, and why is said" \
    eval 'refuses bundle "$E2E_INSTALL/setup" "$E2E_ROOT/huge.efd" -o "$E2E_ROOT/huge" &&
        grep -q "carries at most" "$E2E_ROOT/why"'
rm -f "$E2E_ROOT/huge.efd" "$E2E_ROOT/one/synced"
for command in list verify; do
    e2e_check "efdkit $command takes the bundle's kit for the kit" \
        test "$("$efdkit" $command "$bundle")" = "$("$efdkit" $command "$E2E_WORK/sample.efd")"
done
strip -o "$E2E_ROOT/stripped" "$E2E_INSTALL/setup"
e2e_run "bundling a stripped installer" "$efdkit" bundle "$E2E_ROOT/stripped" "$E2E_WORK/sample.efd" -o "$E2E_ROOT/s1"
e2e_run "bundling that bundle again" "$efdkit" bundle "$E2E_ROOT/s1" "$E2E_WORK/sample.efd" -o "$E2E_ROOT/s2"
e2e_check "bundling a bundle replaces its kit instead of stacking a second" cmp -s "$E2E_ROOT/s1" "$E2E_ROOT/s2"
e2e_check "a stripped installer bundles too" "$efdkit" verify "$E2E_ROOT/s2"
e2e_check "efdkit refuses an installer without a kit" refuses verify "$E2E_INSTALL/setup"

# ---- installs like the two files, also with usecwd from a folder without a kit (from "/": tools/deb-check.sh)
e2e_use_home home-two
e2e_start_headless -S -Len
e2e_wait_exit 0
reference=$(e2e_tree_fingerprint "$E2E_DEFAULT_DIR" files-only)
e2e_use_home home-bundle
E2E_INSTALL=$E2E_ROOT/one E2E_WORK=$E2E_ROOT/dest e2e_start_headless usecwd -S -Len
e2e_wait_exit 0
e2e_check "the bundle installs the same files as with the kit beside" \
    test "$(e2e_tree_fingerprint "$E2E_DEFAULT_DIR" files-only)" = "$reference"
e2e_check "the bundle's run records the directory" test "$(e2e_recorded_location)" = "$E2E_DEFAULT_DIR"

# ---- cut or altered: status 2 and its message before anything is created in TMPDIR
e2e_use_home home-two
before=$(e2e_tree_fingerprint "$HOME")
size=$(stat -c %s "$bundle") kit_size=$(stat -c %s "$E2E_ROOT/work/sample.efd")
image=$((size - kit_size - 24))
mkdir -p "$E2E_ROOT/bad"
E2E_INSTALL=$E2E_ROOT/bad
E2E_SETUP_ENV=(strace -f -qq -e trace=open,openat,creat,mkdir,mkdirat -o "$E2E_ROOT/damaged.trace")
for damage in cut-in-section-table:$((image - 10)) cut-after-installer:$((image + 1)) cut-in-kit:$((image + kit_size / 2)) \
              cut-before-trailer:$((size - 24)) cut-in-trailer:$((size - 3)) altered-kit:alter; do
    name=${damage%%:*} at=${damage#*:}
    cp "$bundle" "$E2E_INSTALL/setup"
    if [ "$at" = alter ]; then
        printf XXXX | dd of="$E2E_INSTALL/setup" bs=1 seek=$((image + kit_size / 2)) conv=notrunc status=none
    else
        truncate -s "$at" "$E2E_INSTALL/setup"
    fi
    e2e_check "$name: efdkit refuses it" refuses verify "$E2E_INSTALL/setup"
    e2e_check "$name: as a damaged one-file installer" grep -q 'damaged one-file installer' "$E2E_ROOT/why"
    e2e_start_headless -S -Len
    e2e_wait_exit 2
    e2e_check "$name: the damaged-kit message" e2e_said err "Installing configuration: $(e2e_message IDS_ERROR_DAMAGEDSOURCE)"
    e2e_check "$name: nothing was created in TMPDIR" \
        test -z "$(grep -E "\"$TMPDIR/[^\"]*\".*O_CREAT|mkdir.*\"$TMPDIR/" "$E2E_ROOT/damaged.trace")"
    e2e_check "$name: the home is as it was" e2e_tree_is "$HOME" "$before"
done
E2E_SETUP_ENV=()

# ---- a kit beside the bundle is the one installed, damaged or not
E2E_INSTALL=$E2E_ROOT/one
e2e_default_kit
e2e_use_home home-beside
e2e_start_headless -S -Len
e2e_wait_exit 0
e2e_check "the kit beside the bundle is installed, not the carried one" \
    e2e_tree_matches "$E2E_KIT_SOURCE" "$E2E_DEFAULT_DIR"
e2e_use_home home-beside-damaged
head -c 100 "$E2E_WORK/small.efd" >"$E2E_INSTALL/qorn.efd"
e2e_start_headless -S -Len
e2e_wait_exit 2   # refused, not replaced by the carried one
e2e_finish
