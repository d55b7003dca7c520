# Shared settings of the build, test and run scripts (sourced, not run).
REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${PENNARO_BUILD_DIR:-$REPO_ROOT/build}
# Built libraries live outside the work tree so a fresh clone reuses them.
DEPS_CACHE=${PENNARO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pennaro}
DEPS_PREFIX="$DEPS_CACHE/deps-2"
# The programs ship for 32-bit Windows (i686); every target also has a 64-bit
# twin (x86_64) built from the same sources.
ARCHS=${PENNARO_ARCHS:-i686 x86_64}

# Whether this machine can start 32-bit Wine: a kernel without 32-bit
# support cannot execute the 32-bit loader at all.
wine32_works() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# The tests run on the build that ships (i686) wherever 32-bit Wine works,
# else on the 64-bit twins; PENNARO_TEST_ARCH forces either. TEST_ARCH_WHY
# says how the choice was made.
if [ -n "${PENNARO_TEST_ARCH:-}" ]; then
    TEST_ARCH=$PENNARO_TEST_ARCH
    TEST_ARCH_WHY="chosen by PENNARO_TEST_ARCH"
elif [[ " $ARCHS " == *" i686 "* ]] && wine32_works; then
    TEST_ARCH=i686
    TEST_ARCH_WHY="32-bit Wine works on this machine"
else
    TEST_ARCH=x86_64
    if [[ " $ARCHS " != *" i686 "* ]]; then
        TEST_ARCH_WHY="PENNARO_ARCHS leaves out i686"
    else
        TEST_ARCH_WHY="this machine cannot start 32-bit Wine"
    fi
fi
# The architecture the tests run on is always built.
[[ " $ARCHS " == *" $TEST_ARCH "* ]] || ARCHS="$ARCHS $TEST_ARCH"
# Compiled objects are kept by ccache across builds and clones (paths are
# taken relative to the clone, so another clone of the same sources hits).
export CCACHE_DIR=${CCACHE_DIR:-$DEPS_CACHE/ccache}
export CCACHE_BASEDIR=$REPO_ROOT CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-4G}
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export REPO_ROOT BUILD_DIR DEPS_CACHE DEPS_PREFIX ARCHS TEST_ARCH TEST_ARCH_WHY
