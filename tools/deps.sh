#!/usr/bin/env bash
# Installs the Debian packages that are missing: tools/deps.sh [run|test]
#   run   what building and running the installer and efdkit need
#   test  that and what the tests, the fuzz harnesses and the package check
#         need (the default)
# Does nothing when they are all present already.
set -euo pipefail
run_packages=(g++ make cmake pkg-config libgtk2.0-dev zlib1g-dev libisal-dev libedit-dev libxxhash-dev libjson-glib-dev)
test_packages=(build-essential  # dpkg-dev: dpkg-shlibdeps for the package's dependencies
               libgtest-dev xvfb xauth openbox xdotool imagemagick x11-utils python3 locales
               tmux  # the terminal front end driven as a person would (tests/e2e/terminal.sh)
               python3-pyatspi libatk-adaptor at-spi2-core dbus-x11  # the wizard as a screen reader reads it (tests/e2e/a11y.sh, uninstall.sh)
               e2fsprogs mount  # a loop-mounted ext4 with few inodes (tests/e2e/rollback.sh), the bench's ext4 rows
               man-db strace lintian  # manual pages, the bundle and the .deb (tests/e2e/ship.sh, tools/test.sh)
               fiu-utils libfiu-dev  # random I/O faults in real runs (tests/e2e/faults.sh)
               python3-hypothesis  # the model of the whole engine (tests/model/recovery_model.py)
               python3-jsonschema ansible-core  # the --json report's schema, the Ansible module (tests/e2e/ansible.sh)
               clang libclang-rt-14-dev)  # the fuzz harnesses: libFuzzer and its sanitizers
case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: tools/deps.sh [run|test]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
