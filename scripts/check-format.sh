#!/usr/bin/env bash
# Fails when a C++ source does not follow .clang-format; prints what it would change.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"
mapfile -t sources < <(find app about bench clock dials forms help imaging picture platform settings tests \
    -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
clang-format --dry-run --Werror "${sources[@]}"
