#!/usr/bin/env bash
# Renders a Yes/No message box with its countdown on the Xvfb display of
# with-services.sh and saves it as a PNG, for a person to look at.
#   bash scripts/with-services.sh bash scripts/shot-messagebox.sh [OUT.png]
# Needs a build (NUVASK_BUILD_DIR, default build).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=$(realpath -m "${1:-messagebox.png}")
: "${NUVASK_TEST_DISPLAY:?run under scripts/with-services.sh}"
NUVASK_SHOT_PNG="$OUT" QT_QPA_PLATFORM=xcb DISPLAY="$NUVASK_TEST_DISPLAY" \
  "${NUVASK_BUILD_DIR:-build}/tests/ui_tests" --gtest_also_run_disabled_tests \
  --gtest_filter='MessageBoxTest.DISABLED_Screenshot'
echo "saved $OUT"
