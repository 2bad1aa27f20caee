#!/usr/bin/env bash
# Installs what is missing, builds Pagora and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DPAGORA_BUILD_TESTS=OFF
cmake --build build -j"$(nproc)" --target pagora
exec ./build/src/app/pagora "$@"
