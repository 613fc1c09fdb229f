#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test with the
# private sound server and X display the tests need.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
BUILD_DIR=${NUVASK_BUILD_DIR:-build}
bash scripts/with-services.sh ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel 2 "$@"
