# Shared settings of the build, test and run scripts (sourced, not run).
REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${PENNARO_BUILD_DIR:-$REPO_ROOT/build}
# Built libraries live outside the work tree so a fresh clone reuses them.
DEPS_CACHE=${PENNARO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pennaro}
DEPS_PREFIX="$DEPS_CACHE/deps-2"
# The programs ship for 32-bit Windows (i686). Every test also builds for
# 64-bit Windows (x86_64), which is what the tests run on by default: a kernel
# without 32-bit support cannot start 32-bit Wine at all.
ARCHS=${PENNARO_ARCHS:-i686 x86_64}
TEST_ARCH=${PENNARO_TEST_ARCH:-x86_64}
export REPO_ROOT BUILD_DIR DEPS_CACHE DEPS_PREFIX ARCHS TEST_ARCH
