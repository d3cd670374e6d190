# Sourced by wine-exec, wine-ctest and scripts/test: the Wine environment of every Windows test run.
# 64-bit programs run in build/wineprefix, 32-bit ones in build/wineprefix32 (made by the
# 32-bit-capable loader); each prefix has its own wineserver. No Mono or Gecko prompts; no debug noise.
veltrin_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# i386_emulator_registered: true when binfmt_misc hands i386 programs to qemu-i386.
i386_emulator_registered() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$entry" ] && grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null &&
      grep -qx enabled "$entry" && return 0
  done
  return 1
}

# wine32_mode: prints how this machine starts the 32-bit Wine loader: "native", "emulated"
# (qemu-i386 through binfmt_misc, where the kernel refuses 32-bit programs) or "none".
wine32_mode() {
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo none
  elif i386_emulator_registered; then
    echo emulated
  else
    echo native
  fi
}

# pe_bits FILE: prints 32 for a 32-bit (i386) Windows program, 64 otherwise.
pe_bits() {
  local header machine
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  machine=$(od -An -tx2 -j$((${header:-0} + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  [ "$machine" = 014c ] && echo 32 || echo 64
}

# use_wine BITS: selects the prefix and loader for 32- or 64-bit programs. The 64-bit prefix is
# $VELTRIN_WINEPREFIX or build/wineprefix, the 32-bit one $VELTRIN_WINEPREFIX32 or
# build/wineprefix32. 64-bit programs start through the 64-bit loader unless 32-bit programs run
# natively (Debian's wine script would pick the 32-bit loader, which cannot start or is emulated).
# VELTRIN_WINEBOOT is the loader that makes and starts the prefix: for the 32-bit prefix the
# 64-bit one where it exists, left free to start the 32-bit loader for the 32-bit parts, so that
# only those are emulated.
use_wine() {
  unset WINELOADER
  local native=no
  [ "$(wine32_mode)" = native ] && native=yes
  if [ "$1" = 32 ]; then
    export WINEPREFIX="${VELTRIN_WINEPREFIX32:-$veltrin_root/build/wineprefix32}"
    export VELTRIN_WINE=wine VELTRIN_WINEBOOT=wine
    [ $native = no ] && [ -x /usr/lib/wine/wine64 ] && VELTRIN_WINEBOOT=/usr/lib/wine/wine64
  else
    export WINEPREFIX="${VELTRIN_WINEPREFIX:-$veltrin_root/build/wineprefix}"
    if [ $native = yes ] || [ ! -x /usr/lib/wine/wine64 ]; then
      export VELTRIN_WINE=wine
    else
      export VELTRIN_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
    fi
    export VELTRIN_WINEBOOT="$VELTRIN_WINE"
  fi
}
