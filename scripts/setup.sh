#!/usr/bin/env bash
# Installs the Debian packages that quillmark needs to build, test and benchmark. Safe to run
# again: when everything is there it only checks and returns.
set -euo pipefail

# clang and libclang-rt-dev (its runtimes, libFuzzer among them; only recommended by clang) build
# the fuzz targets. qt6-qpa-plugins (only recommended by Qt 6 Gui) holds the platforms the tools'
# tests run on. python3-numpy, python3-pip (with setuptools) and python3-venv test and measure the
# Python package, which installs offline from them. libpolyclipping-dev (polygon booleans) and
# libboost-dev (the R-tree of Boost.Geometry) build the page of strokes; libzstd-dev compresses
# stored pages. xvfb (a virtual X server) and libxtst-dev (input events the server generates) run
# quillmark-pad's tests under X.
packages=(g++ clang libclang-rt-dev cmake make pkg-config qtbase5-dev qt6-base-dev qt6-qpa-plugins
          libgtest-dev libbenchmark-dev libpolyclipping-dev libboost-dev libzstd-dev python3
          python3-numpy python3-pip python3-setuptools python3-venv xvfb libxtst-dev)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
