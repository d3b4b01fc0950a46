#!/usr/bin/env bash
# Runs a Windows program of the build under wine, as CTest and the scenario runner do: wine
# passes no QT_* variable, so each is handed over with wine's WINE prefix; the offscreen platform
# gets the same fonts as on Linux (VELMARON_WINE_FONTS); every run has a time limit, because a
# Qt program that cannot start its platform waits on a message box forever.
set -uo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEQT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
[[ -n ${QT_SCALE_FACTOR:-} ]] && export WINEQT_SCALE_FACTOR=$QT_SCALE_FACTOR
[[ -n ${QTEST_DISABLE_STACK_DUMP:-} ]] && export WINEQTEST_DISABLE_STACK_DUMP=$QTEST_DISABLE_STACK_DUMP
# The build keeps them in fonts/ beside bin/.
fonts=${VELMARON_WINE_FONTS:-$(cd "$(dirname "$1")/.." 2>/dev/null && pwd)/fonts}
[[ -d $fonts ]] && export WINEQT_QPA_FONTDIR=$fonts
exec timeout --kill-after=5 "${WINE_TIMEOUT:-120}" wine "$@"
