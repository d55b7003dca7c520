#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a private Xvfb display.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
bash "$here/build.sh"
. "$here/wine-session.sh"
trap stop_wine_session EXIT
start_wine_session private
cd "$BUILD_DIR"
ctest --output-on-failure -j"$(nproc)" "$@"
