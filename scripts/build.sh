#!/usr/bin/env bash
# Configures (once) and builds every program and test, for each architecture
# in $ARCHS: build/i686 holds the 32-bit programs that ship, build/x86_64 the
# 64-bit twins that the tests run on.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
bash "$here/setup.sh"
for arch in $ARCHS; do
    dir="$BUILD_DIR/$arch"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$REPO_ROOT" -B "$dir" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-$arch.cmake" \
            -DPENNARO_DEPS="$DEPS_PREFIX/$arch" >/dev/null
    fi
    # PENNARO_TARGETS narrows the build to some targets (all by default).
    # shellcheck disable=SC2086
    cmake --build "$dir" -- -j"${PENNARO_JOBS:-$(nproc)}" ${PENNARO_TARGETS:-} "$@"
done
# The data files beside the programs (quick when nothing in data/ changed).
bash "$here/make-data.sh"
