#!/usr/bin/env bash
# Builds the paint program and starts it under Wine: the 32-bit program that
# ships where this machine can run 32-bit Wine, else its 64-bit twin.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
PENNARO_TARGETS=${PENNARO_TARGETS:-atelier} bash "$here/build.sh"
arch=i686
if ! wine32_works; then
    echo "This machine cannot run 32-bit Wine: starting the 64-bit build of the program."
    arch=x86_64
fi
. "$here/wine-session.sh" "$arch"
trap stop_wine_session EXIT
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running on a private Xvfb display."
fi
start_wine_session
cd "$BUILD_DIR/$arch/bin"
"$WINELOADER" ./atelier.exe "$@"
