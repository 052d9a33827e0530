#!/usr/bin/env bash
# Installs distrova and the test dependencies, builds the test-only bindings of the
# internals (never installed) and runs every test against the installed module (an
# optimised -O3 build); then once more against a build of both modules at -O2, since
# results must not depend on the optimisation level.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
tests/build-native.sh build/testing --target _distrova_testing _distrova_full_count
rm -f build/testing/distrova.*.so  # the first run imports the installed module
PYTHONPATH="$PWD/build/testing" .venv/bin/python -m pytest -q tests "$@"

tests/build-native.sh build/testing-O2 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 >/dev/null
PYTHONPATH="$PWD/build/testing-O2" .venv/bin/python -m pytest -q tests "$@"
