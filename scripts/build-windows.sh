#!/usr/bin/env bash
# Cross-builds the programs for 64-bit Windows from Debian with mingw-w64, installing what is
# missing through apt-get. The Qt and GoogleTest built for that compiler come from
# ../shared/toolchains (VELMARON_TOOLCHAINS: another folder of the same archives), or from
# folders already unpacked (VELMARON_QT_MINGW, VELMARON_GTEST_MINGW).
#
#   scripts/build-windows.sh            the programs and their tests, in build-windows/
#   scripts/build-windows.sh --package  also the zip and the installer, in build-windows/package/
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$here/build-windows}
bash "$here/scripts/install-deps.sh" --windows
mkdir -p "$build"

# Qt and GoogleTest for mingw-w64, unpacked once.
toolchains=${VELMARON_TOOLCHAINS:-$here/../shared/toolchains}
if [[ -z ${VELMARON_QT_MINGW:-} || -z ${VELMARON_GTEST_MINGW:-} ]]; then
  for part in qt6-mingw gtest-mingw; do
    if [[ ! -d $build/toolchain/$part ]]; then
      archive=$toolchains/$part.tar.zst
      [[ -f $archive ]] || { echo "build-windows: $archive is missing; set VELMARON_TOOLCHAINS or VELMARON_QT_MINGW and VELMARON_GTEST_MINGW" >&2; exit 1; }
      mkdir -p "$build/toolchain"
      zstd -dc "$archive" | tar -x -C "$build/toolchain"
    fi
  done
fi
export VELMARON_QT_MINGW=${VELMARON_QT_MINGW:-$build/toolchain/qt6-mingw}
export VELMARON_GTEST_MINGW=${VELMARON_GTEST_MINGW:-$build/toolchain/gtest-mingw}

# A wine prefix of the build's own: the test discovery runs the test programs during the build.
export WINEPREFIX=${WINEPREFIX:-$build/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  timeout 120 wineboot -i > /dev/null 2>&1 || true
  timeout 60 wineserver -w || true
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DVELMARON_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_PREFIX_PATH="$VELMARON_QT_MINGW" -DGTest_DIR="$VELMARON_GTEST_MINGW/lib/cmake/GTest"
cmake --build "$build" -j"$(nproc)"

if [[ ${1:-} == --package ]]; then
  package=$build/package
  rm -rf "$package"
  cmake --install "$build" --prefix "$package/stage" --strip > /dev/null
  # The compiler's runtime comes with its symbols; Qt's DLLs are stripped already.
  x86_64-w64-mingw32-strip --strip-unneeded "$package"/stage/lib*.dll
  version=$(sed -n 's/^project(Velmaron VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
  (cd "$package/stage" && zip -qr9 "../velmaron-programs-$version-windows.zip" .)
  # The installer's file lists: the programs and their DLLs; the stand-in main program and the
  # demo store's writer are a section of their own.
  : > "$package/files.nsh"
  : > "$package/unfiles.nsh"
  (cd "$package/stage" && find . -type f ! -name velmaron.exe ! -name make-demo-store.exe | sed 's|^\./||' | sort) |
    while IFS= read -r f; do
      dir=$(dirname "$f")
      [[ $dir == . ]] && dir= || dir=\\${dir//\//\\}
      printf 'SetOutPath "$INSTDIR%s"\nFile "${STAGE}/%s"\n' "$dir" "$f" >> "$package/files.nsh"
      printf 'Delete "$INSTDIR\\%s"\n' "${f//\//\\}" >> "$package/unfiles.nsh"
    done
  (cd "$package/stage" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) |
    while IFS= read -r d; do printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}" >> "$package/unfiles.nsh"; done
  makensis -V2 -DSTAGE="$package/stage" -DVERSION="$version" -DICONS="$here/share" \
    -DOUTFILE="$package/velmaron-programs-$version-setup.exe" "$here/packaging/windows/installer.nsi"
  ls -l "$package"/*.zip "$package"/*.exe
fi
