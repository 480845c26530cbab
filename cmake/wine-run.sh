#!/bin/sh
# Runs a Windows program under Wine in the project's own prefix; the exit status passes through.
repo=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${VELMORA_WINEPREFIX:-$repo/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8
unset LC_ALL
exec wine "$@"
