#!/usr/bin/env bash
# Packs the sample template tree into a kit: tools/pack-sample.sh [EFDKIT [KIT]]
# By default it uses build/bin/efdkit and writes build/bin/qorn.efd, beside the installer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
efdkit=${1:-$root/build/bin/efdkit}
kit=${2:-$root/build/bin/qorn.efd}
exec "$efdkit" pack \
    --lang en --product "Sample Templates" --provider "Qorn Labs" --description docs/readme.html \
    --lang ru --product "Образцы шаблонов" --provider "Лаборатория Корн" --description docs/readme.html \
    "$root/examples/sample" "$kit"
