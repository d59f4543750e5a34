#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test: in the normal build on Qt 5
# (build/release) and on Qt 6 (build/qt6), then the two installed side by side, then once more with
# the address and undefined-behaviour sanitizers, then each fuzz target for QUILLMARK_FUZZ_SECONDS
# (default 60) from the committed seeds. CI runs this.
#
# scripts/test.sh --quick: the everyday form, the Qt 5 and Qt 6 builds and their tests only.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
case "${1:-}" in
  "") ;;
  --quick) quick=true ;;
  *) echo "usage: scripts/test.sh [--quick]" >&2; exit 2 ;;
esac
scripts/setup.sh
jobs=$(nproc)
fuzz_seconds=${QUILLMARK_FUZZ_SECONDS:-60}

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$jobs"
(cd build/release && ctest --output-on-failure -j"$jobs")

cmake -S . -B build/qt6 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_QT_MAJOR=6 >/dev/null
cmake --build build/qt6 -j"$jobs"
(cd build/qt6 && ctest --output-on-failure -j"$jobs")

cmake -DBUILD_DIRS="$PWD/build/release;$PWD/build/qt6" -DPACKAGES="QuillmarkQt5;QuillmarkQt6" \
  -DPC_MODULES="quillmark-qt5;quillmark-qt6" -DCONSUMER_DIR="$PWD/tests/consumer" \
  -DWORK_DIR="$PWD/build/side-by-side" -DPYTHON=/usr/bin/python3 -DPYTHON_DIR="$PWD/python" \
  -P tests/consumer/check_install.cmake
echo "test: the Qt 5 and Qt 6 builds install side by side"

$quick && exit 0

# The sanitizer and fuzz builds stay on Qt 5.
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
