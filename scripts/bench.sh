#!/usr/bin/env bash
# Sets up the machine, builds quillmark-bench (Release, in build/bench) and prints its table: the
# per-sample cost of every engine and the gateway early and late in a 10,000-sample stroke, paint
# time and the peak memory of a 100,000-sample stroke; then the Python package's rows. Takes a
# few minutes; extra arguments go to quillmark-bench (e.g. --runs 3 --budget 5). Then the tables
# of quillmark-predict-bench, of page_bench with the Python page's rows beside it, and of
# quillmark-storage-bench (page files beside text and raw floats, in bytes and speed).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build/bench"
"$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target quillmark-bench quillmark-predict-bench \
  quillmark-storage-bench page_bench

# The 100,000-sample stroke is generated here rather than kept in data/ (2.7 MB). The generator
# writes relative to its own folder.
long="$build/synth-100k.txt"
args=()
if [ -s "$long" ]; then
  args=(--long "$long")
elif command -v node >/dev/null; then
  node "$here/data/gen-synthetic.mjs" 100000 "$(realpath --relative-to="$here/data" "$long")" >/dev/null
  args=(--long "$long")
else
  echo "bench: node not found, so no 100,000-sample stroke: the memory columns stay empty" >&2
fi
"$build/bench/quillmark-bench" "${args[@]}" "$@" | tee "$build/bench-table.md"

# The Python rows: quillmark.Stroke over the library just built, with the system's numpy,
# checked against the C stroke face's rows above.
echo
python=/usr/bin/python3
[ -x "$python" ] || python=python3
QUILLMARK_LIBRARY="$build/src/libquillmark-qt5.so" "$python" "$here/bench/python/stroke_bench.py" \
  --c-table "$build/bench-table.md"

# Predicted ink: the pen predictor's misses on the real recordings, and what a prediction costs
# each engine.
echo
"$build/bench/quillmark-predict-bench"

# The page of 10,000 strokes: each call with the index and with a linear scan, then the same calls
# through quillmark.Page, each checked against the C++ figure (Python may add 15 µs a call).
echo
"$build/bench/page_bench" --benchmark_out="$build/page-bench.json" --benchmark_out_format=json
echo
QUILLMARK_LIBRARY="$build/src/libquillmark-qt5.so" "$python" "$here/bench/python/page_bench.py" \
  --cpp-json "$build/page-bench.json"

# Page files beside text and raw floats, in bytes and speed.
echo
"$build/bench/quillmark-storage-bench" | tee "$build/storage-table.md"
