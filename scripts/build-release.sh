#!/usr/bin/env bash
# Builds the program alone (no tests, no benchmarks), optimised, into
# build-release/: what the run command starts and the package packs.
set -euo pipefail
cd "$(dirname "$0")/.."
NUVASK_BUILD_DIR=build-release NUVASK_BUILD_TYPE=Release NUVASK_BUILD_TARGETS="nuvask nuvask_docs" \
  exec bash scripts/build.sh -DNUVASK_TESTS=OFF -DNUVASK_BENCH=OFF
