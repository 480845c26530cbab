# The environment of every Wine call of the project (sourced; sh and bash). The prefix is
# VELMORA_WINEPREFIX, or <repo>/build/wineprefix; Wine must never fall back to ~/.wine.
export WINEPREFIX="${VELMORA_WINEPREFIX:-$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI functions get code page 932 only under a Japanese locale.
export LANG=ja_JP.UTF-8
unset LC_ALL
