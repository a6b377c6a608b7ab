#!/usr/bin/env bash
# Photographs the five wizard pages (welcome, directory, progress, success,
# error) in English and in Russian, and the directory and success pages in
# German, Ukrainian and Vietnamese, whose texts are the longest, from the
# running installer on the sample kit, under a private X server, into
# docs/screenshots/.
# Usage: tools/take-screenshots.sh [BUILD-BIN-DIR]   (default: build/bin)
# Needs Xvfb, openbox, xdotool and ImageMagick's import; the bin directory
# must hold setup, efdkit, print_message and slow_futimes.so.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export QORN_BIN_DIR=$(cd "${1:-$root/build/bin}" && pwd) QORN_SOURCE_DIR=$root
command -v import >/dev/null 2>&1 || { echo "$0: ImageMagick's import is needed" >&2; exit 1; }
source "$root/tests/e2e/lib.sh"
E2E_NAME=screenshots
e2e_init
out=$root/docs/screenshots
mkdir -p "$out"

# A kit whose installation lasts long enough to be caught half-way: the
# sample templates plus many small files, each entry slowed down.
progress_kit() {
    cp -r "$root/examples/sample" "$E2E_WORK/progress-source"
    e2e_make_large_source "$E2E_WORK/progress-source/more"
    "$E2E_BIN/efdkit" pack \
        --lang en --product "Sample Templates" --provider "Qorn Labs" --description docs/readme.html \
        --lang ru --product "Образцы шаблонов" --provider "Лаборатория Корн" --description docs/readme.html \
        "$E2E_WORK/progress-source" "$E2E_WORK/progress.efd" >/dev/null || e2e_fail "cannot pack the progress kit"
}

shoot() {
    # Let the page finish drawing before the picture is taken.
    sleep 0.4
    timeout 20 import -window "$E2E_WIZARD" "png:$out/$1.png" 2>/dev/null || e2e_fail "cannot take $1.png"
    e2e_log "saved docs/screenshots/$1.png"
}

# shoot_pages LANGUAGE PAGE...: the pages among welcome, directory and
# success, through to the end of an installation of the sample kit.
shoot_pages() {
    local language=$1 pages=" ${*:2} "
    e2e_use_home "home-$language"
    e2e_install_kit "$E2E_WORK/sample.efd"
    e2e_start_setup "-L$language"
    e2e_wait_wizard
    [[ $pages != *" welcome "* ]] || shoot "$language-1-welcome"
    e2e_next
    # The scratch home makes a long, odd proposal; show the usual one.
    e2e_type_path "/home/user/.qorn/Vq/vq8/tmplts/"
    xdo key Home
    [[ $pages != *" directory "* ]] || shoot "$language-2-directory"
    # Back and Next put the real proposal into the entry again.
    e2e_back
    e2e_next
    e2e_next
    e2e_wait_recorded "$E2E_DEFAULT_DIR"
    [[ $pages != *" success "* ]] || shoot "$language-4-success"
    e2e_click 180 180   # untick: no document viewer for the pictures
    e2e_next
    e2e_wait_exit
}

# shoot_progress LANGUAGE: the progress page, then the error page by cancelling.
shoot_progress() {
    local language=$1
    e2e_use_home "home-$language-cancel"
    e2e_install_kit "$E2E_WORK/progress.efd"
    e2e_slow_installs 4000
    e2e_start_setup "-L$language"
    e2e_wait_wizard
    e2e_next
    e2e_next
    e2e_wait_for "the installation to be half-way" test -e "$E2E_DEFAULT_DIR/more/part12/t00.tpl"
    shoot "$language-3-progress"
    e2e_cancel
    e2e_wait_outcome_page
    shoot "$language-5-error"
    e2e_next
    e2e_wait_exit 4   # cancelled
    e2e_slow_installs 0
}

e2e_sample_kit
progress_kit
for language in en ru; do
    shoot_pages "$language" welcome directory success
    shoot_progress "$language"
done
for language in de uk vi; do shoot_pages "$language" directory success; done
e2e_finish
