#!/usr/bin/env bash
# Builds the Debian package of nuvASK and prints its path:
#   bash scripts/package.sh        ->  dist/nuvask_<version>_<arch>.deb
# Installs what is missing (scripts/deps.sh package), builds the program
# alone, optimised, into build-release/ as the run command does (or packs the
# build tree named by $NUVASK_BUILD_DIR, as the test command does with its own) and
# packs the install rules with CPack; the package's dependencies come from
# dpkg-shlibdeps. Install it with `sudo apt install ./dist/nuvask_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package
if [ -n "${NUVASK_BUILD_DIR:-}" ]; then
  BUILD_DIR=$NUVASK_BUILD_DIR
  NUVASK_BUILD_TARGETS="nuvask nuvask_docs" bash scripts/build.sh
else
  BUILD_DIR=build-release
  bash scripts/build-release.sh
fi
rm -rf "$BUILD_DIR/package"
cpack --config "$BUILD_DIR/CPackConfig.cmake" >"$BUILD_DIR/cpack.log" 2>&1 || { cat "$BUILD_DIR/cpack.log" >&2; exit 1; }
mkdir -p dist
deb=$(ls "$BUILD_DIR"/package/*.deb)
rm -f dist/nuvask_*.deb
cp "$deb" dist/
echo "dist/$(basename "$deb")"
