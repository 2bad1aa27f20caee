#!/usr/bin/env bash
# Builds the fuzzers in build-fuzz and runs each for a few seconds (default 10)
# on a copy of its seed corpus; fails on the first crash or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DPAGORA_BUILD_FUZZERS=ON -DPAGORA_BUILD_TESTS=OFF -DPAGORA_BUILD_APP=OFF
targets=(fuzz_text fuzz_url fuzz_cookies)
cmake --build build-fuzz -j2 --target "${targets[@]}"

for target in "${targets[@]}"; do
  work="build-fuzz/corpus/$target"
  mkdir -p "$work"
  cp -n fuzz/corpus/"$target"/* "$work"/ 2>/dev/null || true
  echo "fuzz-smoke: $target for ${seconds}s"
  ./build-fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="build-fuzz/$target-" "$work"
done
echo "fuzz-smoke: no crash"
