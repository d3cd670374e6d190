# Sourced by wine-exec and wine-ctest: the Wine environment of every Windows test run.
# One 64-bit prefix runs both 32- and 64-bit programs; no Mono or Gecko prompts; no debug noise.
export WINEPREFIX="${VELTRIN_WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# wine32_runs: true when this machine can start the 32-bit Wine loader. Some kernels refuse
# 32-bit Linux programs; there only 64-bit Windows programs can run.
wine32_runs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The loader: Debian's wine script prefers the 32-bit loader whenever it is installed, even where
# it cannot start, so pick the 64-bit one directly in that case.
if [ -z "${VELTRIN_WINE:-}" ]; then
  if wine32_runs || [ ! -x /usr/lib/wine/wine64 ]; then
    export VELTRIN_WINE=wine
  else
    export VELTRIN_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
  fi
fi
