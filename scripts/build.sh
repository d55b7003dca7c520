#!/usr/bin/env bash
# Configures (once) and builds every program and test, for each architecture
# in $ARCHS: build/i686 holds the 32-bit programs that ship, build/x86_64 the
# 64-bit twins. With PENNARO_TESTS_ONLY_ON set to one architecture (the test
# command does this), the others get only the programs that ship, not their
# test programs.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
bash "$here/setup.sh"
launcher=$(command -v ccache || true)
for arch in $ARCHS; do
    dir="$BUILD_DIR/$arch"
    # A build folder configured before ccache was installed is configured again.
    if [ ! -f "$dir/build.ninja" ] ||
       ! grep -qx "CMAKE_CXX_COMPILER_LAUNCHER:STRING=$launcher" "$dir/CMakeCache.txt"; then
        cmake -S "$REPO_ROOT" -B "$dir" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-$arch.cmake" \
            -DCMAKE_C_COMPILER_LAUNCHER:STRING="$launcher" -DCMAKE_CXX_COMPILER_LAUNCHER:STRING="$launcher" \
            -DPENNARO_DEPS="$DEPS_PREFIX/$arch" >/dev/null
    fi
    # PENNARO_TARGETS narrows the build to some targets (all by default).
    targets=${PENNARO_TARGETS:-}
    if [ -z "$targets" ] && [ -n "${PENNARO_TESTS_ONLY_ON:-}" ] &&
       [ "$arch" != "$PENNARO_TESTS_ONLY_ON" ]; then
        targets="atelier launcher"
    fi
    # shellcheck disable=SC2086
    cmake --build "$dir" -- -j"${PENNARO_JOBS:-$(nproc)}" $targets "$@"
done
# The data files beside the programs (quick when nothing in data/ changed).
bash "$here/make-data.sh"
