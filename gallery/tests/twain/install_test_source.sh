#!/usr/bin/env bash
# Puts the tests' TWAIN source over the Wine prefix's placeholder sane.ds,
# which Wine's source manager lists, and has Wine load it as it is.
# Usage: install_test_source.sh SOURCE-DLL twain_64|twain_32
set -euo pipefail
source_dll=$1 folder=$2
target="$WINEPREFIX/drive_c/windows/$folder"
mkdir -p "$target"
cp "$source_dll" "$target/sane.ds"
"$WINELOADER" reg add 'HKCU\Software\Wine\DllOverrides' /v sane.ds /d native /f >/dev/null 2>&1
# The tests' own stand-in Twain_32.dll must load as it is, not as Wine's.
"$WINELOADER" reg add 'HKCU\Software\Wine\AppDefaults\gallery_tests.exe\DllOverrides' \
    /v twain_32 /d native,builtin /f >/dev/null 2>&1
