#!/usr/bin/env bash
# Line and branch coverage of src/ reached by the fuzz targets replaying corpora: builds the
# targets with clang's source-based coverage (build/fuzz-coverage), runs each over its corpus
# directories once (no fuzzing) and prints a report per target and one for all of them together.
#
#   scripts/fuzz-coverage.sh [TARGET=CORPUS_DIR ...]
#
# The targets are engine, gateway, page, cpage and pagefile; each replays its committed seeds,
# fuzz/corpus/<target>, and the directories named for it (e.g. gateway=build/fuzz/campaign-gateway
# to measure what a campaign reached). The HTML report is written to build/fuzz-coverage/html.
# QUILLMARK_JOBS sets the build's parallel jobs (default: all cores).
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(engine gateway page cpage pagefile)
declare -A corpora
for t in "${targets[@]}"; do corpora[$t]="fuzz/corpus/$t"; done
for arg in "$@"; do
  t=${arg%%=*}
  if [ "$t" = "$arg" ] || [ -z "${corpora[$t]+set}" ]; then
    echo "usage: scripts/fuzz-coverage.sh [TARGET=CORPUS_DIR ...], TARGET one of ${targets[*]}" >&2
    exit 2
  fi
  corpora[$t]+=" ${arg#*=}"
done
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
cmake --build "$build" -j"${QUILLMARK_JOBS:-$(nproc)}" \
  --target "${targets[@]/#/quillmark-fuzz-}"

library=$(ls "$build"/src/libquillmark-qt5.so.*.*.*)
profiles=()
objects=()
for t in "${targets[@]}"; do
  raw="$build/$t.profraw"
  rm -f "$raw"
  # -runs=0 replays the corpus and stops; leak checks only slow the replay down.
  # shellcheck disable=SC2086 # the corpus list splits into directories
  LLVM_PROFILE_FILE="$raw" ASAN_OPTIONS=detect_leaks=0 \
    "$build/fuzz/quillmark-fuzz-$t" -runs=0 -max_len=1024 ${corpora[$t]} >/dev/null 2>&1
  llvm-profdata merge -sparse "$raw" -o "$build/$t.profdata"
  profiles+=("$build/$t.profdata")
  objects+=(-object "$build/fuzz/quillmark-fuzz-$t")
  echo "== quillmark-fuzz-$t over ${corpora[$t]}"
  llvm-cov report -instr-profile "$build/$t.profdata" "$library" \
    -object "$build/fuzz/quillmark-fuzz-$t" "${only_src[@]}" | tail -n 1
done

llvm-profdata merge -sparse "${profiles[@]}" -o "$build/all.profdata"
echo "== all targets, per file"
llvm-cov report -instr-profile "$build/all.profdata" "$library" "${objects[@]}" "${only_src[@]}"
llvm-cov show -format=html -output-dir "$build/html" -instr-profile "$build/all.profdata" \
  "$library" "${objects[@]}" "${only_src[@]}" >/dev/null
