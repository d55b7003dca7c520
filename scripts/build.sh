#!/usr/bin/env bash
# Configures (once) and builds every program and test for 32-bit Windows.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
bash "$here/setup.sh"
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$REPO_ROOT" -B "$BUILD_DIR" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-i686.cmake" \
        -DPENNARO_DEPS="$DEPS_PREFIX" >/dev/null
fi
# PENNARO_TARGETS narrows the build to some targets (all by default).
# shellcheck disable=SC2086
cmake --build "$BUILD_DIR" -- -j"$(nproc)" ${PENNARO_TARGETS:-} "$@"
