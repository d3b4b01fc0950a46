#!/usr/bin/env bash
# The Windows package as a store installs it, under wine on a virtual display, with no Qt
# platform set (each program takes the plugins the package ships): the installer run silently
# with its demo section, the demo store made by the installed make-demo-store.exe (also in a
# folder with Polish letters), the stand-in opening it as the Start-menu entry does, a program
# given a folder that does not exist saying so in a box, and the uninstaller leaving no key.
# Run by scripts/test-windows.sh after the build and its tests.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${WINDOWS_BUILD_DIR:-$here/build-windows}
version=$(sed -n 's/^project(Velmaron VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")
setup=$build/package/velmaron-programs-$version-setup.exe
[[ -f $setup ]] || { echo "windows package: $setup is missing"; exit 1; }
export WINEPREFIX=${WINEPREFIX:-$build/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset QT_QPA_PLATFORM WINEQT_QPA_PLATFORM
passed=0 failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "windows package: ok: $what"
  else
    failed=$((failed + 1))
    echo "windows package: FAILED: $what"
  fi
}

# A display of its own for the windows platform, gone when the check ends.
display=:$((70 + RANDOM % 20))
Xvfb "$display" -screen 0 1280x1024x24 > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2> /dev/null; timeout 30 wineserver -k 2> /dev/null' EXIT
export DISPLAY=$display
sleep 1
timeout 60 wine cmd /c exit > /dev/null 2>&1

root=C:\\VelmaronCheck
drive=$WINEPREFIX/drive_c
rm -rf "$drive/VelmaronCheck" "$drive/Stores"
timeout 300 wine "$setup" /S /DEMO "/D=$root" > /dev/null 2>&1
check "the installer put the programs in $root" test -f "$drive/VelmaronCheck/appraise.exe"
check "the installer's demo section made the demo store" test -f "$drive/VelmaronCheck/demo-store/cust.dat"
check "no offscreen plugin in the package" test ! -e "$drive/VelmaronCheck/platforms/qoffscreen.dll"
check "the JPEG image plugin beside the programs" test -f "$drive/VelmaronCheck/imageformats/qjpeg.dll"

# The installed make-demo-store.exe in a folder whose name the system's code page cannot hold.
timeout 120 wine "$root\\make-demo-store.exe" 'C:\Stores\Złota Łódź' > /dev/null 2>&1
check "make-demo-store.exe writes C:\\Stores\\Złota Łódź" test -f "$drive/Stores/Złota Łódź/cust.dat"

# The stand-in opens the demo store as the Start-menu entry starts it.
window_appears() {
  local name=$1 i
  for i in $(seq 1 40); do
    xdotool search --name "$name" > /dev/null 2>&1 && return 0
    sleep 0.5
  done
  return 1
}
(cd "$drive/VelmaronCheck" && timeout 120 wine "$root\\velmaron.exe" "$root\\demo-store" > /dev/null 2>&1) &
program=$!
check "the stand-in shows the demo store's customers" window_appears "Velmaron - Customers"
[[ -n ${VELMARON_PACKAGE_SHOTS:-} ]] && import -window root "$VELMARON_PACKAGE_SHOTS/package-stand-in.png"
timeout 30 wineserver -k 2> /dev/null
wait "$program"

# Given a folder that does not exist, a program says so in a box as well as on its standard error.
(cd "$drive/VelmaronCheck" && timeout 120 wine "$root\\appraise.exe" 'C:\No Such Store' > /dev/null 2> "$build/package-missing.txt") &
program=$!
check "a program given a missing folder says so in a box" window_appears "Appraise cannot start"
[[ -n ${VELMARON_PACKAGE_SHOTS:-} ]] && import -window root "$VELMARON_PACKAGE_SHOTS/package-missing-folder.png"
timeout 30 wineserver -k 2> /dev/null
wait "$program"
check "and on its standard error" grep -q "does not exist" "$build/package-missing.txt"

timeout 300 wine "$root\\Uninstall Appraise and Interest.exe" /S "_?=$root" > /dev/null 2>&1
check "the uninstaller removed the programs" test ! -e "$drive/VelmaronCheck/appraise.exe"
check "the uninstaller left the demo store's data" test -f "$drive/VelmaronCheck/demo-store/cust.dat"
no_key() { ! timeout 60 wine reg query 'HKLM\Software\Velmaron' > /dev/null 2>&1; }
check "the uninstaller left no HKLM\\Software\\Velmaron key" no_key
rm -rf "$drive/VelmaronCheck" "$drive/Stores"
echo "windows package: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
