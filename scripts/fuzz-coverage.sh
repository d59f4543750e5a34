#!/usr/bin/env bash
# Line and branch coverage of src/ reached by the fuzz targets replaying corpora: builds the
# targets with clang's source-based coverage (build/fuzz-coverage), runs each over its corpus
# directories once (no fuzzing) and prints a report per target and one for both together.
#
#   scripts/fuzz-coverage.sh [ENGINE_CORPUS_DIR [GATEWAY_CORPUS_DIR]]
#
# Defaults: the committed seeds, fuzz/corpus/engine and fuzz/corpus/gateway. To measure what a
# campaign reached, pass its output directories. The HTML report of both targets is written to
# build/fuzz-coverage/html. QUILLMARK_JOBS sets the build's parallel jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."
engine_corpus=${1:-fuzz/corpus/engine}
gateway_corpus=${2:-fuzz/corpus/gateway}
build=build/fuzz-coverage
coverage_flags="-fprofile-instr-generate -fcoverage-mapping"
# The report covers the library's files: the targets' own (fuzz/*) are left out by name, since a
# filter on the path of src/ misses the relative paths that a build through ccache records.
only_src=(-ignore-filename-regex '(^|/)fuzz/[^/]+$')

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DQUILLMARK_FUZZ=ON -DQUILLMARK_BUILD_TESTS=OFF \
  -DQUILLMARK_BUILD_BENCH=OFF -DQUILLMARK_BUILD_TOOLS=OFF \
  -DCMAKE_CXX_FLAGS="$coverage_flags" -DCMAKE_C_FLAGS="$coverage_flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$coverage_flags" -DCMAKE_SHARED_LINKER_FLAGS="$coverage_flags" \
  >/dev/null
cmake --build "$build" -j"${QUILLMARK_JOBS:-$(nproc)}" --target quillmark-fuzz-engine quillmark-fuzz-gateway

library=$(ls "$build"/src/libquillmark-qt5.so.*.*.*)
profiles=()
for target in engine gateway; do
  corpus=${target}_corpus
  raw="$build/$target.profraw"
  rm -f "$raw"
  # -runs=0 replays the corpus and stops; leak checks only slow the replay down.
  LLVM_PROFILE_FILE="$raw" ASAN_OPTIONS=detect_leaks=0 \
    "$build/fuzz/quillmark-fuzz-$target" -runs=0 -max_len=1024 "${!corpus}" >/dev/null 2>&1
  llvm-profdata merge -sparse "$raw" -o "$build/$target.profdata"
  profiles+=("$build/$target.profdata")
  echo "== quillmark-fuzz-$target over ${!corpus}"
  llvm-cov report -instr-profile "$build/$target.profdata" "$library" \
    -object "$build/fuzz/quillmark-fuzz-$target" "${only_src[@]}" | tail -n 1
done

llvm-profdata merge -sparse "${profiles[@]}" -o "$build/both.profdata"
echo "== both targets, per file"
llvm-cov report -instr-profile "$build/both.profdata" "$library" \
  -object "$build/fuzz/quillmark-fuzz-engine" -object "$build/fuzz/quillmark-fuzz-gateway" \
  "${only_src[@]}"
llvm-cov show -format=html -output-dir "$build/html" -instr-profile "$build/both.profdata" \
  "$library" -object "$build/fuzz/quillmark-fuzz-engine" \
  -object "$build/fuzz/quillmark-fuzz-gateway" "${only_src[@]}" >/dev/null
