#!/usr/bin/env bash
# Configures and builds into build/ (or $NUVASK_BUILD_DIR). Extra arguments go to
# cmake; $NUVASK_BUILD_TARGETS (names, space-separated) builds only those targets
# and what they need.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${NUVASK_BUILD_DIR:-build}
# Rebuilds of unchanged sources (the sanitizer and fuzz trees, a fresh clone)
# come from the compiler cache; paths are taken relative to the source tree so
# that two checkouts share it.
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${NUVASK_BUILD_TYPE:-RelWithDebInfo} "${LAUNCHER[@]}" "$@" >/dev/null
TARGETS=()
for target in ${NUVASK_BUILD_TARGETS:-}; do TARGETS+=(--target "$target"); done
cmake --build "$BUILD_DIR" --parallel "$(nproc)" "${TARGETS[@]}"
