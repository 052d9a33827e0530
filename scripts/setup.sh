#!/usr/bin/env bash
# Creates .venv with a CPython from 3.10 to 3.13: the one named by PYTHON, else the
# first of python3, python3.13, ..., python3.10 that is one. Builds the source
# distribution and, from it, the wheel into build/wheelhouse, and installs the wheel with
# the examples' dependencies; with --tests also the test dependencies. Prints a line per
# step; the tools' own output goes to build/setup.log, shown when a step fails.
set -euo pipefail
if [ $# -gt 1 ] || [ "${1:---tests}" != --tests ]; then
  echo "usage: scripts/setup.sh [--tests]" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
mkdir -p build
log=build/setup.log
: >"$log"

step() {  # step DESCRIPTION COMMAND...
  echo "setup: $1"
  shift
  if ! "$@" >>"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "setup: that step failed; its whole output is in $log" >&2
    exit 1
  fi
}

supported() {  # prints "CPython 3.X.Y" if $1 is a CPython from 3.10 to 3.13
  "$1" -c 'import platform, sys
assert sys.implementation.name == "cpython" and (3, 10) <= sys.version_info[:2] <= (3, 13)
print("CPython", platform.python_version())' 2>/dev/null
}

if [ -n "${PYTHON:-}" ]; then
  candidates=("$PYTHON")
else
  candidates=(python3 python3.13 python3.12 python3.11 python3.10)
fi
if [ ! -x .venv/bin/python ]; then
  for python in "${candidates[@]}"; do
    if version=$(supported "$python"); then
      step "creating .venv with $version ($(command -v "$python"))" "$python" -m venv .venv
      break
    fi
  done
  if [ ! -x .venv/bin/python ]; then
    echo "setup: found no CPython from 3.10 to 3.13${PYTHON:+ at PYTHON=$PYTHON};" \
      "name one with PYTHON=/path/to/python3.X" >&2
    exit 1
  fi
elif version=$(supported .venv/bin/python); then
  echo "setup: using the existing .venv ($version)"
else
  echo "setup: .venv holds no CPython from 3.10 to 3.13; remove it and run again" >&2
  exit 1
fi

if [ "${1:-}" = "--tests" ]; then
  step "installing the test dependencies (tests/requirements.txt)" \
    .venv/bin/python -m pip install -r tests/requirements.txt
else
  step "installing the build front end" .venv/bin/python -m pip install build
fi

rm -rf build/wheelhouse
step "building the source distribution and, from it, the wheel (a minute or two)" \
  .venv/bin/python -m build --outdir build/wheelhouse .
wheel=$(ls build/wheelhouse/distrova-*.whl)

install_wheel() {
  # The first install brings the dependencies; the second replaces a same-version install.
  .venv/bin/python -m pip install "$wheel[examples]" &&
    .venv/bin/python -m pip install --force-reinstall --no-deps "$wheel"
}
step "installing ${wheel#build/wheelhouse/} with matplotlib, dask and distributed" install_wheel
echo "setup: done in ${SECONDS} s; try .venv/bin/python examples/tour.py"
