#!/usr/bin/env bash
# Installs what is missing, builds everything in Release and runs the whole
# suite (GUI tests offscreen), then rebuilds the core with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the core tests under them, and
# finally runs each libFuzzer target for a short while (KESTREL_FUZZ_SECONDS).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen

cmake -S "$root" -B "$root/build/test" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/test" --parallel "$jobs"
ctest --test-dir "$root/build/test" --output-on-failure --parallel "$jobs"

if [ "${KESTREL_SKIP_SANITIZERS:-0}" != 1 ]; then
  # The GUI tests run under the sanitizers too (offscreen) unless
  # KESTREL_SANITIZE_GUI=0; Qt's own allocations are not ours to report.
  gui="${KESTREL_SANITIZE_GUI:-1}"
  gui_flag=OFF label=(-L core)
  [ "$gui" = 1 ] && gui_flag=ON label=()
  # Unoptimised with line tables only: the build takes half as long, which
  # is more than the slower test run gives back.
  cmake -S "$root" -B "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O0" -DKESTREL_SANITIZE=ON \
        -DKESTREL_BUILD_GUI="$gui_flag" -DKESTREL_BUILD_BENCH=OFF >/dev/null
  cmake --build "$root/build/sanitize" --parallel "$jobs"
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$root/scripts/lsan-qt.supp" UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/sanitize" --output-on-failure --parallel "$jobs" "${label[@]}"
fi

if [ "${KESTREL_SKIP_FUZZ:-0}" != 1 ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_FUZZ=ON >/dev/null
  cmake --build "$root/build/fuzz" --parallel "$jobs" --target fuzz_LayoutReader fuzz_MacroReader fuzz_Export fuzz_BmpDecoder
  # target:seeds. New inputs go to a scratch corpus; a finding stops the run
  # with a non-zero status and is saved beside it for tests/fuzz/regressions.
  for pair in LayoutReader:layout MacroReader:macro Export:layout BmpDecoder:bmp; do
    name="${pair%%:*}" seeds="${pair##*:}"
    work="$root/build/fuzz/work/$name"
    rm -rf "$work" && mkdir -p "$work/corpus"
    "$root/build/fuzz/tests/fuzz/fuzz_$name" -max_total_time="${KESTREL_FUZZ_SECONDS:-27}" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" \
      "$work/corpus" "$root/tests/fuzz/corpus/$seeds" "$root/tests/fuzz/regressions/$seeds" 2>"$work/log" ||
      { tail -n 60 "$work/log"; echo "fuzz_$name found a failure; input saved in $work" >&2; exit 1; }
    grep -E '^stat::number_of_executed_units' "$work/log" | sed "s/^/fuzz_$name /"
  done
fi
