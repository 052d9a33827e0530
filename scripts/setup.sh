#!/usr/bin/env bash
# Creates .venv with CPython 3.10 (the interpreter named in .python-version), builds the
# wheel into build/wheelhouse and installs it; with --tests also the test dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -x .venv/bin/python ]; then
  if python3 -c 'import sys; sys.exit(sys.version_info[:2] != (3, 10))' 2>/dev/null; then
    python3 -m venv .venv
  else
    # No 3.10 on this machine: fall back to the newest 3.11 that pyenv has.
    fallback=$(pyenv versions --bare 2>/dev/null | grep -E '^3\.11(\.|$)' | sort -V | tail -n 1)
    echo "CPython 3.10 not found; using ${fallback:-the default python3}" >&2
    PYENV_VERSION=${fallback:-system} python3 -m venv .venv
  fi
fi

if [ "${1:-}" = "--tests" ]; then
  .venv/bin/python -m pip install -q -r tests/requirements.txt
fi
rm -rf build/wheelhouse
.venv/bin/python -m pip wheel -q --no-deps -w build/wheelhouse .
wheel=$(ls build/wheelhouse/distrova-*.whl)
# The first install brings the dependencies; the second replaces a same-version install.
.venv/bin/python -m pip install -q "$wheel"
.venv/bin/python -m pip install -q --force-reinstall --no-deps "$wheel"
