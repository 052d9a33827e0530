#!/usr/bin/env bash
# Builds into BUILD_DIR (default build/testing) with the interpreter of .venv: the
# module and the test-only bindings of the internals. Further arguments go to
# `cmake --build` (for example `--target _distrova_testing`).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/testing}
shift || true
py="$PWD/.venv/bin/python"
.venv/bin/cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDISTROVA_TESTING=ON \
  -DPython_EXECUTABLE="$py" -Dpybind11_DIR="$("$py" -m pybind11 --cmakedir)" >/dev/null
.venv/bin/cmake --build "$build_dir" "$@"
