#!/usr/bin/env bash
# Installs distrova and the test dependencies, builds the test-only bindings of the
# internals (never installed) and runs every test against the installed module.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
tests/build-native.sh build/testing --target _distrova_testing
rm -f build/testing/distrova.*.so  # tests import the installed module, not a stray build
PYTHONPATH="$PWD/build/testing" .venv/bin/python -m pytest -q tests "$@"
