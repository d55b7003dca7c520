# Shared settings of the build, test and run scripts (sourced, not run).
REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${PENNARO_BUILD_DIR:-$REPO_ROOT/build}
# Built libraries live outside the work tree so a fresh clone reuses them.
DEPS_CACHE=${PENNARO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pennaro}
DEPS_PREFIX="$DEPS_CACHE/deps-1"
export REPO_ROOT BUILD_DIR DEPS_CACHE DEPS_PREFIX
