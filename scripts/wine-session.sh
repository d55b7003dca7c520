# Sourced: gives this shell a private Wine prefix for $1 (i686 or x86_64), a
# persistent wineserver and, when asked or when there is no display, a private
# Xvfb; stop_wine_session ends what it started.
wine_arch=${1:-$TEST_ARCH}
if [ "$wine_arch" = i686 ]; then
    export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
else
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
fi
export WINEPREFIX="$BUILD_DIR/$wine_arch/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export ALSA_CONFIG_PATH="$REPO_ROOT/scripts/alsa-null.conf"

PENNARO_XVFB_PID=""

start_private_display() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    PENNARO_XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$fdfile")"
    rm -f "$fdfile"
}

start_wine_session() {
    # $1 = "private" forces a private display.
    if [ "${1:-}" = private ] || [ -z "${DISPLAY:-}" ]; then
        start_private_display
    fi
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p
    # The first Wine client of a session starts Wine's background services;
    # start them here so they do not inherit (and hold open) a test's output.
    "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_wine_session() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$PENNARO_XVFB_PID" ]; then
        kill "$PENNARO_XVFB_PID" >/dev/null 2>&1 || true
        wait "$PENNARO_XVFB_PID" 2>/dev/null || true
    fi
}
