#!/usr/bin/env bash
# Sets up, builds and runs every test, headless. Compiler warnings count as errors here.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHORAVISTA_WERROR=ON >/dev/null
cmake --build "$top/build/test"
ctest --test-dir "$top/build/test" --output-on-failure --parallel "$(nproc)"
