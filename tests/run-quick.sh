#!/usr/bin/env bash
# The test suite without its slowest comparisons (the tests marked slow) on other CPython
# versions, by default 3.11, 3.12 and 3.13. For each: an environment build/venv-X.Y with
# the test dependencies, one build of the module and of the test-only bindings in
# build/pyX.Y, and the tests against that build with the stubs of the source tree. The
# tests of the installed wheel skip there; tests/run.sh makes them with .venv's interpreter.
# With --prepare first, only the environments and the builds, one compile at a time, so
# that CI can make them beside the suites of its main interpreter.
set -euo pipefail
cd "$(dirname "$0")/.."
prepare_only=false
if [ "${1:-}" = "--prepare" ]; then
  prepare_only=true
  shift
fi
[ $# -gt 0 ] || set -- 3.11 3.12 3.13
mkdir -p build

prepare() {  # prepare VERSION
  local version=$1 python=python$1 venv=build/venv-$1
  if ! "$python" -c "import sys; sys.exit('%d.%d' % sys.version_info[:2] != '$version')" 2>/dev/null; then
    echo "quick $version: no $python found" >&2
    return 1
  fi
  echo "quick $version: test dependencies into $venv"
  [ -x "$venv/bin/python" ] || "$python" -m venv "$venv"
  # Without compiling every installed file: the tests import a small part of them.
  if ! "$venv/bin/python" -m pip install --no-compile -r tests/requirements.txt >"$venv.log" 2>&1; then
    tail -n 30 "$venv.log" >&2
    return 1
  fi
  echo "quick $version: the module and the test-only bindings into build/py$version"
  local jobs=()
  if $prepare_only; then jobs=(-j 1); fi
  VENV=$venv tests/build-native.sh "build/py$version" "${jobs[@]}" -- --quiet
}

for version in "$@"; do
  prepare "$version"
done
$prepare_only && exit 0
for version in "$@"; do
  echo "quick $version: the tests without the slowest comparisons"
  PYTHONPATH="$PWD/build/py$version:$PWD/stubs" "build/venv-$version/bin/python" \
    -m pytest -q -m "not slow" tests
done
