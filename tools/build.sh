#!/usr/bin/env bash
# Configures and builds one tree, warnings as errors (as CI builds):
#   tools/build.sh [DIR [SANITIZER]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-build}
sanitize=${2:-}
cmake -S "$root" -B "$root/$dir" -DQORN_SANITIZE="$sanitize" -DQORN_WERROR=ON -DQORN_BUILD_TESTS=ON >/dev/null
cmake --build "$root/$dir" -j"$(nproc)"
