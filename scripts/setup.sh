#!/usr/bin/env bash
# Installs the cross toolchain, Wine, Xvfb, GoogleTest and CUPS with its PDF
# printer from Debian, and builds the two libraries the programs link (LZO and
# libjpeg) for 32-bit Windows from Debian's source packages. Quick when
# everything is already in place.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

# Several builds may start at once: one set-up at a time.
mkdir -p "$DEPS_CACHE"
exec 9>"$DEPS_CACHE/.setup.lock"
flock 9

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake ninja-build xvfb wine wine32:i386 wine64
          googletest dpkg-dev make autoconf automake libtool nasm x11-utils
          libasound2:i386 libasound2-plugins:i386 alsa-utils fonts-dejavu-core
          python3 librsvg2-bin imagemagick sox abcmidi fluidsynth fluid-soundfont-gm espeak-ng fonts-wine
          cups printer-driver-cups-pdf poppler-utils libcups2:i386 libjpeg-turbo-progs
          ffmpeg ccache)

need_install() {
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || return 0
    done
    return 1
}

enable_sources() {
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    local src=/etc/apt/sources.list.d/pennaro-src.sources
    if [ ! -f "$src" ]; then
        # Same suites as the binary entries, for `apt-get source`.
        $SUDO sh -c "sed -e 's/^Types: deb\$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > $src" 2>/dev/null || true
        if [ ! -s "$src" ]; then
            echo "deb-src http://deb.debian.org/debian bookworm main" | $SUDO tee /etc/apt/sources.list.d/pennaro-src.list >/dev/null
            $SUDO rm -f "$src"
        fi
    fi
}

if need_install; then
    enable_sources
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
fi

# Wine's own faces (Tahoma, the face of the closing credits) reach Debian's
# Wine only through fontconfig.
if [ ! -e /usr/local/share/fonts/wine ] && [ -d /usr/share/wine/fonts ]; then
    $SUDO mkdir -p /usr/local/share/fonts
    $SUDO ln -sfn /usr/share/wine/fonts /usr/local/share/fonts/wine
    $SUDO fc-cache -f >/dev/null 2>&1 || true
fi

# --- art sources from npm, pinned (drawings of things, CC-BY 4.0) -------------
if ! command -v npm >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends npm >/dev/null
fi
twemoji="$DEPS_CACHE/npm/node_modules/@twemoji/svg"
if [ ! -f "$twemoji/package.json" ] || ! grep -q '"version": "15.0.0"' "$twemoji/package.json"; then
    mkdir -p "$DEPS_CACHE/npm"
    npm install --silent --no-audit --no-fund --prefix "$DEPS_CACHE/npm" @twemoji/svg@15.0.0 >/dev/null
fi

# --- dependencies built for the target --------------------------------------
stamp="$DEPS_PREFIX/.done"
if [ -f "$stamp" ]; then
    exit 0
fi
enable_sources
if ! apt-get source --print-uris lzo2 >/dev/null 2>&1; then
    $SUDO apt-get update -qq
fi

work="$DEPS_CACHE/src"
rm -rf "$work" "$DEPS_PREFIX"
mkdir -p "$work" "$DEPS_PREFIX"
cd "$work"
apt-get source -qq lzo2 libjpeg-turbo >/dev/null 2>&1 || apt-get source lzo2 libjpeg-turbo
lzo_dir=$(cd "$(find . -maxdepth 1 -type d -name 'lzo2-*' | head -n 1)" && pwd)
jpeg_dir=$(cd "$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)" && pwd)
jobs=$(nproc)
log="$DEPS_CACHE/build.log"

build_for() {
    local arch=$1 prefix="$DEPS_PREFIX/$1"
    rm -rf "$work/lzo-$arch"
    cp -a "$lzo_dir" "$work/lzo-$arch"
    (
        cd "$work/lzo-$arch"
        ./configure -q --host="$arch-w64-mingw32" --prefix="$prefix" \
            --disable-shared --enable-static CC="$arch-w64-mingw32-gcc-posix" CFLAGS="-O2"
        make -s -j"$jobs"
        make -s install
    ) >"$log" 2>&1 || { cat "$log"; exit 1; }
    {
        cmake -Wno-dev -S "$jpeg_dir" -B "$work/jpeg-$arch" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-$arch.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
            -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
            -DWITH_JPEG8=OFF -DWITH_JPEG7=OFF
        cmake --build "$work/jpeg-$arch" -j"$jobs"
        cmake --install "$work/jpeg-$arch"
    } >"$log" 2>&1 || { cat "$log"; exit 1; }
}

build_for i686
build_for x86_64

rm -rf "$work"
touch "$stamp"
