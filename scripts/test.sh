#!/usr/bin/env bash
# Installs what is missing, builds Pagora with its tests and runs them all;
# then the same suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# the threaded tests under ThreadSanitizer, and every fuzzer for a few
# seconds. Each stage has its own build folder. Stages can be picked by name:
#   scripts/test.sh [plain] [asan] [tsan] [fuzz]     (default: all four)
set -euo pipefail
cd "$(dirname "$0")/.."
stages="${*:-plain asan tsan fuzz}"
wants() { [[ " $stages " == *" $1 "* ]]; }
./scripts/install-deps.sh
jobs=$(nproc)

if wants plain; then
  cmake -S . -B build -G Ninja -DPAGORA_BUILD_TESTS=ON
  cmake --build build -j"$jobs"
  ctest --test-dir build --output-on-failure -j"$jobs"
fi

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

if wants asan; then
  echo "test: AddressSanitizer + UndefinedBehaviorSanitizer"
  cmake -S . -B build-asan -G Ninja -DPAGORA_BUILD_TESTS=ON -DPAGORA_SANITIZE=address
  cmake --build build-asan -j"$jobs"
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" ctest --test-dir build-asan --output-on-failure -j"$jobs"
fi

if wants tsan; then
  # Every test that starts threads runs here: workers, launchers, book loads
  # racing workers, loopback servers, and the window's operations called from
  # workers, closing included. Qt is not built with ThreadSanitizer, so the
  # sanitizer is told to leave alone what happens inside uninstrumented
  # libraries (ignore_noninstrumented_modules); our own code stays checked.
  # The black-box tests (the real program under Xvfb) are left out: there the
  # X and GLib threads of the toolkit run wholly outside the sanitizer's view.
  echo "test: ThreadSanitizer"
  cmake -S . -B build-tsan -G Ninja -DPAGORA_BUILD_TESTS=ON -DPAGORA_SANITIZE=thread
  cmake --build build-tsan -j"$jobs"
  TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1" \
    ctest --test-dir build-tsan --output-on-failure -j"$jobs" -LE "blackbox|packaging"
fi

if wants fuzz; then
  echo "test: fuzz smoke"
  ./scripts/fuzz-smoke.sh 10
fi
echo "test: all stages passed ($stages)"
