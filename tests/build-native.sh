#!/usr/bin/env bash
# Builds into BUILD_DIR (default build/testing) with the interpreter of .venv, or of the
# environment that VENV names: the module and the test-only bindings of the internals.
# Further arguments starting with -D go to the CMake configuration, the rest to
# `cmake --build` (for example `--target _distrova_testing`).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build/testing}
shift || true
configure=() build=()
for arg in "$@"; do
  case "$arg" in -D*) configure+=("$arg") ;; *) build+=("$arg") ;; esac
done
venv=${VENV:-.venv}
py="$PWD/$venv/bin/python"
"$venv/bin/cmake" -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDISTROVA_TESTING=ON \
  -DPython_EXECUTABLE="$py" -Dpybind11_DIR="$("$py" -m pybind11 --cmakedir)" \
  ${configure[@]+"${configure[@]}"} >/dev/null
"$venv/bin/cmake" --build "$build_dir" ${build[@]+"${build[@]}"}
