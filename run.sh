#!/usr/bin/env bash
# Set up, build and start Kelvado.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps
BUILD_DIR=${BUILD_DIR:-build-release}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" --target kelvado
# Without arguments Kelvado opens the demo database, made once on first use.
if [ $# -eq 0 ]; then
    DEMO_DIR="$BUILD_DIR/demo"
    if [ ! -f "$DEMO_DIR/Beispiel.mdb" ]; then
        "$BUILD_DIR/bin/kelvado" --beispiel "$DEMO_DIR" >/dev/null
    fi
    set -- "/MDB:$(cd "$DEMO_DIR" && pwd)/Beispiel.mdb"
fi
exec "$BUILD_DIR/bin/kelvado" "$@"
