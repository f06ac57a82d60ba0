#!/bin/sh
# Builds the CCITT decoder fuzz target with libFuzzer, ASan and UBSan (not part of CTest).
# Run: fuzz/build-ccitt.sh && ./ccitt_fuzz -runs=1000000 [corpus-dir]
set -e
here=$(cd "$(dirname "$0")" && pwd)
src="$here/../grainwick/src"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$src" "$here/ccitt_fuzz.cpp" "$src/ccitt_decode.cpp" "$src/ccitt_tables.cpp" "$src/scratch.cpp" \
  -o "${1:-ccitt_fuzz}"
