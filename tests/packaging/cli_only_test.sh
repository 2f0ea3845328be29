#!/usr/bin/env bash
# kvr and libkavrin build and pass their tests in a tree configured without the window, where
# CMake may not find Qt at all.
#   cli_only_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source=$(realpath "$1") build=$2
cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRIN_WINDOW=OFF \
  -DKAVRIN_BENCHMARKS=OFF -DKAVRIN_WERROR=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON >/dev/null
cmake --build "$build"
if grep -q -i 'qt6' "$build/compile_commands.json"; then
  echo "FAIL  a Qt path reached a compile command"
  exit 1
fi
ctest --test-dir "$build" --output-on-failure
