#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a private Xvfb display.
# Arguments go to ctest (e.g. -R engine).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Wine is installed first: whether 32-bit Wine works decides which build runs.
bash "$here/setup.sh"
. "$here/env.sh"
echo "Tests run on the $TEST_ARCH build ($TEST_ARCH_WHY)."
PENNARO_TESTS_ONLY_ON=$TEST_ARCH PENNARO_CONTACT_SHEET=${PENNARO_CONTACT_SHEET:-0} bash "$here/build.sh"
. "$here/wine-session.sh" "$TEST_ARCH"
. "$here/printing.sh"
trap 'stop_wine_session; stop_printing' EXIT
start_printing
start_wine_session private
cd "$BUILD_DIR/$TEST_ARCH"
ctest --output-on-failure -j"${PENNARO_JOBS:-$(nproc)}" "$@"
