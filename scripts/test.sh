#!/usr/bin/env bash
# Installs what is missing, builds Pagora with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DPAGORA_BUILD_TESTS=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
