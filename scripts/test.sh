#!/usr/bin/env bash
# Installs what is missing (scripts/deps.sh test), builds everything and runs
# every test with the private sound servers and displays the tests need, then
# builds the Debian package and checks it.
#
# Besides the normal build it runs the suite once more built with
# AddressSanitizer and UndefinedBehaviorSanitizer, and gives every fuzz target
# a short run on the parsers of stored text. NUVASK_QUICK=1 skips those two.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
bash scripts/build.sh
BUILD_DIR=${NUVASK_BUILD_DIR:-build}

if [ -z "${NUVASK_QUICK:-}" ]; then
  echo "== Sanitizer build (ASan + UBSan)"
  # Only the suites it runs, lightly optimised, with line tables for the
  # reports' stacks: a cold run of this whole script takes about 16 minutes
  # on 2 cores instead of about 25.
  NUVASK_BUILD_DIR=build-asan NUVASK_BUILD_TARGETS="core_tests ui_tests server_tests nuvask_fixture_ctl" \
    bash scripts/build.sh -DNUVASK_SANITIZE=ON -DNUVASK_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    bash scripts/with-services.sh ctest --test-dir build-asan --output-on-failure --parallel 2 -L 'core|ui|server'

  if command -v clang++ >/dev/null 2>&1; then
    echo "== Fuzz targets (a short run each)"
    # The fuzz targets and the libraries they test, not the windows.
    CC=clang CXX=clang++ NUVASK_BUILD_DIR=build-fuzz \
      NUVASK_BUILD_TARGETS="$(cd fuzz && ls ./*_fuzz.cpp | sed 's|^\./||; s|\.cpp$||' | tr '\n' ' ')" \
      bash scripts/build.sh -DNUVASK_FUZZ=ON -DNUVASK_TESTS=OFF -DNUVASK_BENCH=OFF
    for target in build-fuzz/fuzz/*_fuzz; do
      [ -x "$target" ] || continue
      echo "-- $(basename "$target")"
      "$target" -max_total_time=${NUVASK_FUZZ_SECONDS:-15} -print_final_stats=0 2>&1 | tail -n 1
    done
  fi
fi

echo "== Test suite"
bash scripts/with-services.sh ctest --test-dir "$BUILD_DIR" --output-on-failure --parallel 2 "$@"

# The sound-server tests once more against PipeWire (through pipewire-pulse),
# the server most desktops run now.
if command -v pipewire-pulse >/dev/null 2>&1 && command -v wireplumber >/dev/null 2>&1; then
  echo "== Sound-server tests on PipeWire"
  bash scripts/with-pipewire.sh ctest --test-dir "$BUILD_DIR" --output-on-failure -R '^(PulseConnectionTest|PulseMixerServiceTest|PulseWaveInTest|VolumeGuardServerTest|PulseConnectionWriteTest|StripMeterSharedCaptureTest)\.'
fi

# The Debian package of this build tree: lintian, its metainfo and menu entry,
# then installed (root), started to its main window with a fresh home,
# uninstalled for that user and removed again.
echo "== The Debian package"
deb=$(NUVASK_BUILD_DIR="$BUILD_DIR" bash scripts/package.sh | tail -n 1)
bash scripts/check-package.sh "$deb"
