#!/usr/bin/env bash
# Builds the module and the test-only bindings into BUILD_DIR (default build/testing)
# with the interpreter of .venv, for running the tests against a fresh build.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/testing}
py="$PWD/.venv/bin/python"
.venv/bin/cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDISTROVA_TESTING=ON \
  -DPython_EXECUTABLE="$py" -Dpybind11_DIR="$("$py" -m pybind11 --cmakedir)" >/dev/null
.venv/bin/cmake --build "$build_dir"
