#!/usr/bin/env bash
# Makes the program's data files (scripts, pictures, sounds) from data/ and
# puts them beside the programs of every architecture. The data compiler runs
# under Wine as whichever twin this machine's Wine can start; art and sound
# are rendered on Linux first and cached by input, so an unchanged data set
# costs one hash.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"

run_arch=x86_64
if wine32_works && [[ " $ARCHS " == *" i686 "* ]]; then
    run_arch=i686
fi
tree="$BUILD_DIR/$run_arch"
if [ ! -f "$tree/build.ninja" ]; then
    cmake -S "$REPO_ROOT" -B "$tree" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$REPO_ROOT/cmake/mingw-$run_arch.cmake" \
        -DPENNARO_DEPS="$DEPS_PREFIX/$run_arch" >/dev/null
fi
# A tree configured before data/ had its build file learns of it here.
grep -q 'build bin/datac.exe' "$tree/build.ninja" || cmake "$tree" >/dev/null
cmake --build "$tree" --target datac -- -j"${PENNARO_JOBS:-$(nproc)}" | { grep -v "^\[" || true; }

work="$tree/data"
mkdir -p "$work"
files=(Hd.mms Hd.MMP App.MMP Stmp1.MMP Stmp2.MMP Hd.MMA App.MMA)
stamp=$( (cd "$REPO_ROOT/data" && find files.txt tables scripts art sounds music tools \
              -type f 2>/dev/null | LC_ALL=C sort | xargs -d '\n' sha256sum;
          sha256sum "$tree/bin/datac.exe") | sha256sum | cut -c1-32)
complete=yes
[ -d "$work/out" ] || complete=no
for arch in $ARCHS $run_arch; do
    for f in "$work"/out/*; do
        [ -f "$BUILD_DIR/$arch/bin/$(basename "$f")" ] || complete=no
    done
    if [ "${PENNARO_CONTACT_SHEET:-1}" != 0 ] && [ ! -f "$BUILD_DIR/$arch/contact-sheet.png" ]; then
        complete=no
    fi
done
if [ "$complete" = yes ] && [ "$(cat "$work/stamp" 2>/dev/null)" = "$stamp" ]; then
    exit 0
fi

render_cache="$DEPS_CACHE/render"
python3 "$REPO_ROOT/data/tools/render.py" "$REPO_ROOT/data" "$work/render" "$render_cache/art"
if [ -f "$REPO_ROOT/data/tools/sounds.py" ]; then
    python3 "$REPO_ROOT/data/tools/sounds.py" "$REPO_ROOT/data" "$work/render" "$render_cache/sound"
fi

rm -rf "$work/out"
mkdir -p "$work/out"
(
    . "$here/wine-session.sh" "$run_arch"
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    fi
    "$WINELOADER" "$tree/bin/datac.exe" "Z:$REPO_ROOT/data" "Z:$work/render" "Z:$work/out" </dev/null
    wineserver -w
)
for arch in $ARCHS $run_arch; do
    mkdir -p "$BUILD_DIR/$arch/bin"
    for f in "${files[@]}"; do
        if [ -f "$work/out/$f" ]; then cp "$work/out/$f" "$BUILD_DIR/$arch/bin/$f"; fi
    done
    if [ "${PENNARO_CONTACT_SHEET:-1}" != 0 ]; then
        cp "$work/render/contact-sheet.png" "$BUILD_DIR/$arch/contact-sheet.png"
    fi
done
echo "$stamp" >"$work/stamp"
if [ "${PENNARO_CONTACT_SHEET:-1}" != 0 ]; then
    echo "data: files written; contact sheet in $BUILD_DIR/<arch>/contact-sheet.png"
else
    echo "data: files written"
fi
