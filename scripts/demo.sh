#!/usr/bin/env bash
# Sets up the machine, builds the library and its programs, and draws the bundled recorded
# strokes into quillmark-fixwidth.svg in the current folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build/demo" -DCMAKE_BUILD_TYPE=Release \
  -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$here/build/demo" -j"$(nproc)" --target fixwidth_svg
"$here/build/demo/examples/fixwidth_svg" "$here/data/pf-recorded.txt" quillmark-fixwidth.svg
