#!/bin/bash
# Builds both programs' builds: build/i686 (PE32, what ships on a medium)
# and build/x64 (PE32+, the same sources, what the tests run under Wine).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
for arch in i686 x86_64; do
  dir=$root/build/$arch
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DKELBRINE_TESTS=$([ $arch = x86_64 ] && echo ON || echo OFF) >/dev/null
  cmake --build "$dir" -j "$jobs"
done
