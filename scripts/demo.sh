#!/usr/bin/env bash
# Sets up the machine, builds the library and its programs, and runs quillmark-render with no
# arguments: the bundled strokes drawn by every engine side by side into quillmark-demo.png and
# quillmark-demo.svg in the current folder, and a table of per-engine figures.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build/demo" -DCMAKE_BUILD_TYPE=Release \
  -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF >/dev/null
cmake --build "$here/build/demo" -j"$(nproc)" --target quillmark-render
"$here/build/demo/tools/render/quillmark-render"
