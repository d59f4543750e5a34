#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: once in the normal build, once
# with the address and undefined-behaviour sanitizers, then each fuzz target for
# QUILLMARK_FUZZ_SECONDS (default 60) from the committed seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)
fuzz_seconds=${QUILLMARK_FUZZ_SECONDS:-60}

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$jobs"
(cd build/release && ctest --output-on-failure -j"$jobs")

# The benchmarks add nothing the sanitizers could check that the tests do not.
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_SANITIZE=ON \
  -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build build/sanitize -j"$jobs"
(cd build/sanitize && ctest --output-on-failure -j"$jobs")

cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUILLMARK_FUZZ=ON -DQUILLMARK_FUZZ_SECONDS="$fuzz_seconds" \
  -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF -DQUILLMARK_BUILD_TOOLS=OFF >/dev/null
cmake --build build/fuzz -j"$jobs"
(cd build/fuzz && ctest --output-on-failure -j"$jobs")
