#!/usr/bin/env bash
# Benchmark of the download path against plain libcurl and against curl plus
# img2pdf; prints Markdown tables. Not a test: nothing here passes or fails.
#   ./scripts/bench.sh [PAGES [REPETITIONS]]    (default 200 pages, 5 runs each)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --bench >&2

build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPAGORA_BUILD_BENCH=ON -DPAGORA_BUILD_TESTS=OFF -DPAGORA_BUILD_APP=OFF >&2
cmake --build "$build" -j"$(nproc)" --target pagora_bench >&2

# The generated book is kept between runs: making it takes a few seconds.
book="$build/bench-book"
exec "$build/bench/pagora_bench" run "$book" "${1:-200}" "${2:-5}"
