#!/usr/bin/env bash
# Installs what is missing, builds everything in Release and runs the whole
# suite (GUI tests offscreen), then rebuilds the core with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the core tests under them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen

cmake -S "$root" -B "$root/build/test" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/test" --parallel "$jobs"
ctest --test-dir "$root/build/test" --output-on-failure --parallel "$jobs"

if [ "${KESTREL_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake -S "$root" -B "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DKESTREL_SANITIZE=ON \
        -DKESTREL_BUILD_GUI=OFF -DKESTREL_BUILD_BENCH=OFF >/dev/null
  cmake --build "$root/build/sanitize" --parallel "$jobs"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/sanitize" --output-on-failure --parallel "$jobs" -L core
fi
