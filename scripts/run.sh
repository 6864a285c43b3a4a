#!/usr/bin/env bash
# Installs what is missing, builds Kestrel in Release and starts the editor,
# on the demo document unless a file is named.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$root/build/release" --parallel "$(nproc)"
if [ $# -eq 0 ]; then
  set -- "$root/examples/demo.kbd"
fi
exec "$root/build/release/kestrel" "$@"
