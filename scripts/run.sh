#!/usr/bin/env bash
# Builds the paint program and starts it under Wine.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
bash "$here/build.sh"
. "$here/wine-session.sh"
trap stop_wine_session EXIT
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running on a private Xvfb display."
fi
start_wine_session
cd "$BUILD_DIR/bin"
wine ./atelier.exe "$@"
