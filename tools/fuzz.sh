#!/usr/bin/env bash
# Builds the libFuzzer programs with clang (build/fuzz, ASan + UBSan) and runs one of them.
# Usage: tools/fuzz.sh <name> [seconds]     e.g. tools/fuzz.sh regedit4 600
# New inputs go to the kept corpus in tests/fuzz/corpus/<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."
name=${1:?usage: tools/fuzz.sh <name> [seconds]}
seconds=${2:-60}
# The libraries carry coverage too (fuzzer-no-link), not only the target file.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DTUNARA_FUZZ=ON -DTUNARA_SANITIZE=ON >/dev/null
cmake --build build/fuzz --target "fuzz_$name"
mkdir -p "tests/fuzz/corpus/$name"
exec "build/fuzz/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=65536 \
  "tests/fuzz/corpus/$name"
